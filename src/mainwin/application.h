// Start of the program: the application object and the main window.
#pragma once

int mavrellMain(int argc, char **argv);
