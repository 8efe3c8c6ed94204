#pragma once
// Numeric resource ids shared by the resource script and the code.
#define IDI_MAINICON 1
// 300 characters; exists so the tests can see string reads cut at 254.
#define IDS_LONG_TEST_STRING 65000
