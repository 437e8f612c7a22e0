#pragma once
// The window classes the layer itself provides. They are registered once, before the first window is made,
// so that every program and test finds them by name.

namespace kestrova::ui {

void RegisterSystemClasses();

// Each system class's own registration, called from RegisterSystemClasses.
void RegisterButtonClass();
void RegisterEditClass();
void RegisterListBoxClass();

}  // namespace kestrova::ui
