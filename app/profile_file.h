#pragma once
// A profile (INI) file: "[SECTION]" headers and "KEY=value" lines. It is held as its lines and changed in
// place, so that whatever the program does not change (other sections, other keys, comments, blank lines)
// is written back as it was. Sections and keys match without regard to ASCII case and blanks around them,
// as the platform's profile reader matches them; the first line of a key counts. The file is UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class ProfileFile {
public:
    // Reads the profile at `path`. A missing file is an empty profile; false when the file exists but
    // cannot be read (the profile is then empty too).
    bool Read(std::wstring_view path);
    // Writes the whole profile to a temporary file beside `path` and renames it over `path`; false, with
    // the old file untouched, when any step fails.
    bool Write(std::wstring_view path) const;

    // The value without the blanks around it and without one pair of double quotes around it; nothing when
    // the key is missing.
    std::optional<std::wstring> GetString(std::string_view section, std::string_view key) const;
    // The value's leading decimal number with its sign ("55zz" is 55, "zz" and "" are 0), held to the
    // int32 range; `missing` when the key is missing.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t missing) const;

    // Replaces the value of the key's line, or adds the key after the section's last line (and the section
    // at the end of the file when it is missing). False, with nothing changed, for a value with a line
    // break, which would make a line of its own.
    bool SetString(std::string_view section, std::string_view key, std::wstring_view value);

private:
    // The index of the key's line, or of the line after the section's last line that is not blank
    // (lines_.size() when the section is missing: see sectionFound).
    struct Place {
        bool sectionFound = false;
        bool keyFound = false;
        size_t line = 0;
    };
    Place Find(std::string_view section, std::string_view key) const;
    std::string_view ValueOf(size_t line) const;

    std::vector<std::string> lines_;  // without their line ends
};

}  // namespace kestrova
