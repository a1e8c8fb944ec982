#pragma once
// Private-profile settings files: INI text of "[section]" headers and "key=value" lines, read and
// written one key at a time. Sections and keys compare without case; values are trimmed of the
// white space around them. Files are UTF-8 (or plain ASCII) without a byte-order mark.

#include "host/MaxTypes.h"

// Copies the value of `key` in `section` of the file at `path` into `buffer`, or `defaultValue`
// (nullptr: empty) when the file, the section or the key is missing or the file cannot be read.
// At most size - 1 bytes are copied, always followed by a terminator. Answers the number of bytes
// copied, without the terminator; 0 when buffer is null or size is 0. A null section or key
// answers the default (listing names is not supported).
DWORD getPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              DWORD size, const char* path);

// Sets `key` of `section` to `value` in the file at `path`, creating the file and the section as
// needed; a null value removes the key, a null key removes the whole section. The file is
// replaced atomically (a temporary file beside it, then a rename), so a failed write leaves the
// previous file intact; its permissions are kept. Answers FALSE, changing nothing, when the path
// is empty, the existing file cannot be read, the new file cannot be written, or a section, key
// or value holds a line break (or the key an '=', or the section a ']') and so could not be read
// back as written. Writes within one process are serialised.
BOOL writePrivateProfileString(const char* section, const char* key, const char* value, const char* path);
