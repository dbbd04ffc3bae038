#include "skin/LayoutQueries.h"

#include "skin/LayoutFile.h"
#include "skin/ProfileIniSource.h"

namespace skin::layout {

int ControlCountOfFile(const std::string& path) {
    ProfileIniSource ini(path);
    return LayoutFile(ini, path).ControlCount();
}

std::string FirstPropertyValueOfFile(const std::string& path, int index) {
    ProfileIniSource ini(path);
    return LayoutFile(ini, path).FirstPropertyValue(index);
}

}  // namespace skin::layout
