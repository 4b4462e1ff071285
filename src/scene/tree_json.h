// The JSON form of a game file, shared by kwdump and kwbuild.
//
// Each element is {"class": name, "properties": {name: value, ...},
// "children": [...]}, with exactly the properties its record held, by name
// in file order. Integers are numbers (colours and flags of type "u" as
// unsigned numbers), Booleans true/false (a stored value other than 0 or 1
// stays a number), enumerations numbers, reals numbers that read back to the
// same double (a non-finite real is the string "0x" + its 16 hex digits),
// strings UTF-8 decoded from Windows-1251. The one byte without a character
// in Windows-1251, 0x98, is written as U+0098 and read back as that byte, so
// every string survives exactly. A record that cannot be decoded (unknown
// class, surplus values, a broken end) is {"class": name, "raw": hex of the
// whole record}.
//
// When building, a string may also be {"file": path}: the file's bytes, path
// relative to the JSON file's folder (UTF-8 text is turned into
// Windows-1251; other bytes are taken as they are). Properties missing
// before the last one named get the class's initial values.
#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "scene/game_record.h"

namespace kw {

// Windows-1251 bytes to UTF-8 and back, keeping 0x98 as U+0098. The reverse
// answers false when the text holds a character the code page lacks.
std::string JsonTextFromCp1251(std::string_view bytes);
bool Cp1251FromJsonText(std::string_view utf8, std::string& out);

nlohmann::ordered_json GameRecordToJson(const TGameRecord& record);

// Builds a record from an element object. On failure answers false with a
// message naming the element (class, Id, path in the tree) and the name or
// value at fault.
bool GameRecordFromJson(const nlohmann::json& element, const std::filesystem::path& baseFolder,
                        TGameRecord& out, std::string& error);

}  // namespace kw
