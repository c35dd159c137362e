// What assistive technology is told about the program's own kinds of control.
//
// Qt's own descriptions serve every other control: a pick list is named by its current item, and its caption
// is the label whose buddy it is or its accessible description. Result labels (ResultLabel) are named by the
// result they show, a blank one by nothing, and link labels (LinkLabel) are links that can be pressed.
#pragma once

namespace tarvelle {

/// Makes Qt ask this program first for the accessible descriptions of result labels and link labels. Called
/// once before the window is made; later calls do nothing.
void InstallAccessibleWidgets();

} // namespace tarvelle
