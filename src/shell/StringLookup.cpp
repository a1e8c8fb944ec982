#include "shell/StringLookup.h"

#include "resources/StringTable.h"

#include <cstring>

namespace vml {

namespace {

constexpr int maxCharacters = 255;
HINSTANCE module = nullptr;
// Room for 255 UTF-8 characters of up to four bytes each, and the terminator.
char stringBuffer[maxCharacters * 4 + 1];

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

HINSTANCE moduleHandle() { return module; }
void setModuleHandle(HINSTANCE handle) { module = handle; }

const char* getString(int id)
{
    if (!module)
        return nullptr;
    const char* text = resources::lookupString(id);
    if (!text)
        return nullptr;
    std::size_t n = 0;
    int characters = 0;
    while (text[n] != '\0') {
        if (!isContinuationByte(static_cast<unsigned char>(text[n])) && ++characters > maxCharacters)
            break;
        ++n;
    }
    std::memcpy(stringBuffer, text, n);
    stringBuffer[n] = '\0';
    return stringBuffer;
}

}  // namespace vml
