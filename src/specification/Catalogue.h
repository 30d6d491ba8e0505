#pragma once
// The catalogue of specification files in SpecFiles/ (the user's and the shipped one).

#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// The names of the specification files ("*.zrs") in `folder`, in plain byte order, extension
// included. Folders, special files and names that are empty, "." or ".." are skipped; a
// missing folder gives none.
std::vector<std::string> ListSpecificationFiles(const std::string& folder);
// The same over several folders: each name once, however many folders hold it, since a file
// of an earlier folder hides one of the same name in a later folder.
std::vector<std::string> ListSpecificationFiles(const std::vector<std::string>& folders);

// A file's menu caption: its name without the text from the last "." on.
std::string CatalogueCaption(std::string_view fileName);

}  // namespace kestrune
