#pragma once
// What the loader and the preset reader tell the owner of the state while they change it.

#include <string>

namespace kestrune {

class StateListener {
  public:
    virtual ~StateListener() = default;

    // The previous specification is gone and the new file is about to be read; the owner
    // switches what depends on the specification.
    virtual void SpecificationReset() {}
    // A preset made `path` the input file (already split into the file variables).
    virtual void InputFileSet(const std::string& path) { (void)path; }
    // A preset being opened named the specification file `specFileName`.
    virtual void SpecificationNamed(const std::string& specFileName) { (void)specFileName; }
};

}  // namespace kestrune
