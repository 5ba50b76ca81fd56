#pragma once

// "mirovax-tables fit": the fuel lines of an airplane type fitted to the
// tables of its flight planning manual. argv[0] is the program, argv[1]
// "fit". Returns the exit status: 0 fitted, 1 refused or not written, 2 a
// usage error.
int RunFitCommand(int argc, char** argv);
