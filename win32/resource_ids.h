#pragma once
// Numbers of the resources in velorin.rc, shared with the code that loads
// them (windres reads this file as well: plain #defines only).
#define VELORIN_ICON 1
#define VELORIN_ABOUT_DIALOG 100
#define VELORIN_ABOUT_TITLE 101
#define VELORIN_ABOUT_VERSION 102
#define VELORIN_ABOUT_COPYRIGHT 103
#define VELORIN_ABOUT_ICON 104
