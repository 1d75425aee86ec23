// SPDX-License-Identifier: MIT
#pragma once

// The end of the program when its X server goes away under it. Qt notices
// first as a rule: it says so in one line ("The X11 connection broke: ...")
// and ends the process with code 1. On the way out a call into Xlib (the GL
// driver's own connection to the same server) finds the connection dead as
// well, and Xlib's default handler would add two lines of its own ("XIO:
// fatal IO error ..."). Install() replaces that handler: it ends the process
// at once with code 1, and prints a line of its own only when Qt has not
// said anything yet (Xlib noticed first). One installation per process,
// after the QApplication exists.
class XServerLoss {
public:
    static void Install();
};
