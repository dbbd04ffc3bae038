// Where a removal shows how far it is: the confirmation page or the built-in
// dialog, or nothing in a silent removal. Called from the removal's worker
// thread while the user-interface thread dispatches messages.
#pragma once

#include <string>

namespace uninstall {

class RemovalDisplay {
public:
    virtual ~RemovalDisplay() = default;
    virtual void SetStatus(const std::string& text) = 0;
    // The bar's unit is one record of the log.
    virtual void SetProgressRange(int count) = 0;
    virtual void SetProgressPosition(int position) = 0;
};

}  // namespace uninstall
