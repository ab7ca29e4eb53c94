#pragma once

#include <initializer_list>

class QAbstractButton;

namespace orba {

// Makes Enter press these buttons when they have the focus, as the space bar does: tool buttons
// and push buttons that are not a dialog's default button, which would otherwise ignore Enter or
// leave it to the default button.
void pressOnEnter(std::initializer_list<QAbstractButton*> buttons);

} // namespace orba
