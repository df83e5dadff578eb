// The program's texts are UTF-8 byte strings (ASCII in practice); wx holds wide strings.
#pragma once

// Before any wx header: wx defines TRUE and FALSE as macros, which the framework has as constants.
#include "framework/types.h"

#include <wx/string.h>

#include <string>

inline wxString ToWx(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }
inline wxString ToWx(const char* text) { return text != nullptr ? wxString::FromUTF8(text) : wxString(); }
