// What assistive technology is told about the program's own kinds of control.
//
// Qt's own description of a pick list gives its current item as the name on Linux and leaves the spoken name
// to a caption label beside it, which most of the window's lists do not have; here the name given to the
// list is its name and the item is its value. Result labels (ResultLabel) are spoken as caption and value,
// and link labels (LinkLabel) as links that can be pressed.
#pragma once

namespace tarvelle {

/// Makes Qt ask this program first for the accessible descriptions of pick lists, result labels and link
/// labels. Called once before the window is made; later calls do nothing.
void InstallAccessibleWidgets();

} // namespace tarvelle
