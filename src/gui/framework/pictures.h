#pragma once

// Registers the pictures compiled into the program (login buttons, toolbar).
void init_resources();
