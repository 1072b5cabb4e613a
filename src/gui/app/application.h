#pragma once

// Brings the program up (splash, windows, data module, login) and runs it.
int run_application(int argc, char **argv);
