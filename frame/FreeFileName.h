// Where a recording goes when its file already exists: beside it, under the
// first free numbered name, so that no recording silently replaces another.
#pragma once

#include <functional>
#include <string>

// Numbered names stop here; past it the start fails instead of searching on.
constexpr int MaxFileNumber = 9999;

// "dir\name.ext" with number n as "dir\name (n).ext". A dot in a folder's
// name is not an extension, nor is a leading dot of the file's name.
std::string NumberedFileName(const std::string& path, int number);

// path itself when exists(path) is false, else the first free numbered name
// from 2 on (gaps are filled); empty when every number up to MaxFileNumber
// is taken.
std::string FreeFileName(const std::string& path,
                         const std::function<bool(const std::string&)>& exists);
