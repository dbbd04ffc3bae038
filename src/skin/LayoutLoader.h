// The control part of loading a page layout: the control lines from the last
// to the first, each creating its control through a ControlFactory and then
// receiving its property entries, until the page can hold no more.
#pragma once

#include "skin/ControlTable.h"
#include "skin/LayoutFile.h"

namespace skin::layout {

// Makes the window of a control whose record was just added. The factory may
// change the record's rectangle (a picture control takes its picture's size).
class ControlFactory {
public:
    virtual ~ControlFactory() = default;
    virtual void CreateControl(ControlRecord& record, const ControlLine& line) = 0;
    // The screen's dots per inch, by which the layout's rectangles are scaled.
    virtual int Dpi() const { return kLayoutDpi; }
};

// Clears `table`, then creates the controls of `layout` into it. Lines whose
// kind is unknown, or whose kind table or the page is full, create nothing
// and their entries are not read. Reading stops once the page is full: no
// later line could add a control.
void LoadControls(const LayoutFile& layout, ControlTable& table, ControlFactory& factory);

}  // namespace skin::layout
