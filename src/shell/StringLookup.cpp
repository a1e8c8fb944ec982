#include "shell/StringLookup.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace vml {

namespace {

constexpr int maxCharacters = 255;
HINSTANCE module = nullptr;
// Room for 255 UTF-8 characters of up to four bytes each, and the terminator.
char stringBuffer[maxCharacters * 4 + 1];

// Empty until the first lookup or a setTextLanguage; main thread only, like the buffer.
std::optional<Language> chosenLanguage;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

HINSTANCE moduleHandle() { return module; }
void setModuleHandle(HINSTANCE handle) { module = handle; }

Language languageFromEnvironment()
{
    for (const char* name : {"VERMIL_LANG", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string_view(value).starts_with("ja") ? Language::Japanese : Language::English;
    }
    return Language::English;
}

Language textLanguage()
{
    if (!chosenLanguage)
        chosenLanguage = languageFromEnvironment();
    return *chosenLanguage;
}

void setTextLanguage(std::optional<Language> language) { chosenLanguage = language; }

const char* getString(int id)
{
    if (!module)
        return nullptr;
    const char* text = resources::lookupString(id, textLanguage());
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
