#pragma once

namespace orba {

// Makes Enter press the focused button, as the space bar does, also where Qt leaves Enter to a
// dialog's default button or ignores it: tool buttons and push buttons that are not default
// buttons. Installs itself on the application once; later calls do nothing.
void pressFocusedButtonsOnEnter();

} // namespace orba
