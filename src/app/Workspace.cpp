#include "Workspace.h"

#include "CChildFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"

bool Workspace::documentWithGrid(cps::RadioImage* image) const {
    CChildFrame* frame = activeFrame();
    if (!frame) return false;
    CProgramView* view = frame->view();
    view->commitPendingEdit();
    *image = frame->document()->image();
    view->table().store(*image);
    return true;
}
