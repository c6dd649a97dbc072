#include "process_values.h"

ProcessValues g_values;
