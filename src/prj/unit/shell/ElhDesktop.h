#pragma once

// The desktop program, once the caller has created its application object
// (a TNrApplication) with the program's name and version: the message boxes
// and the findings window are installed, the data modules and windows
// created in the program's order, then the message loop runs. Returns the
// exit status.
int runDesktop();
