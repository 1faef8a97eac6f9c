#pragma once

// The keyboard of every window, installed once for the whole program:
// - Enter presses the focused button (as Space does);
// - Enter or Space on a line of a list does what a click on it does, and
//   Enter then what a double click does;
// - F1 opens the help file at its contents page.
// Message boxes keep their own keys (Enter: default button, Esc: No / OK).
void InstallKeyboard();
