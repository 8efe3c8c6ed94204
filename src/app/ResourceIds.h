#pragma once
// Numeric resource ids shared by the resource script and the code.
#define IDI_MAINICON 1
// 300 characters, in the unit tests' own resources: string reads are cut at 254.
#define IDS_LONG_TEST_STRING 65000
