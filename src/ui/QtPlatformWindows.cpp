#include "QtPlatform.h"
#include "base/WindowsSystem.h"

namespace kestrune::ui {

int QtPlatform::StartRun(const std::string& wrapper) {
    return windows::StartRunInJob(wrapper);
}

// The association goes to HKEY_CURRENT_USER\Software\Classes: Windows merges it into
// HKEY_CLASSES_ROOT for this user, and writing it needs no administrator, which a portable
// copy on a USB stick does not have.
bool QtPlatform::CreateClassKey(const std::string& key) {
    return windows::CreateUserClassKey(key);
}

bool QtPlatform::SetClassKeyDefault(const std::string& key, const std::string& value) {
    const bool written = windows::SetUserClassKeyDefault(key, value);
    if (written && key.find('\\') != std::string::npos && key.ends_with("Command")) {
        // The last value of the association: Explorer shows the new icon and action at once.
        windows::NotifyAssociationChanged();
    }
    return written;
}

}  // namespace kestrune::ui
