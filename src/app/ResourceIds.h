#pragma once
// Numeric resource ids shared by the resource script and the code.
#define IDI_MAINICON 1
