#pragma once
// The catalogue of specification files in SpecFiles/.

#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// The names of the specification files ("*.zrs") in `folder`, in plain byte order, extension
// included. Folders, special files and names that are empty, "." or ".." are skipped; a
// missing folder gives none.
std::vector<std::string> ListSpecificationFiles(const std::string& folder);

// A file's menu caption: its name without the text from the last "." on.
std::string CatalogueCaption(std::string_view fileName);

}  // namespace kestrune
