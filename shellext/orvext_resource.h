// ORVEXT's own resource ids.
#pragma once

#define IDR_DROP_MENU 101
#define ID_COMPARE 40000
