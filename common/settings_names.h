// Where settings live: HKCU\Software\<COMPANY_KEY>\ORVINTA\<section>. Every room
// that reads or writes a setting names its section through these.
#pragma once

constexpr const char* COMPANY_KEY = "Brindlecote Software";
constexpr const char* SECTION_PREFERENCES = "Preferences";
constexpr const char* SECTION_DIRECTORIES = "Directories";
constexpr const char* SECTION_POSITION = "Position";

// Preferences value of the View command that marks changed characters (integer, default 1).
constexpr const char* SETTING_SHOW_CHANGED_CHARACTERS = "ShowChangedCharacters";
