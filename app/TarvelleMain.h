// The program's start-up and message loop, shared by the program and the start-up benchmark.
#pragma once

namespace tarvelle {

/// Sets the application title and icon, creates the main window (its creation handler runs before it is
/// shown), shows it and runs the message loop until it is closed; returns the exit code, 0. With
/// quitWhenShown the loop ends as soon as the window has been shown and painted once.
int RunTarvelle(int argc, char** argv, bool quitWhenShown = false);

} // namespace tarvelle
