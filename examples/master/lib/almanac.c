#include "almanac.h"

/* High water comes about 50 minutes later each day. */
void almanac_fill(struct almanac_day *day, int day_of_year)
{
    int first = (day_of_year * 50) % 1440;
    day->high_water[0] = first;
    day->high_water[1] = (first + 745) % 1440;
    day->low_water[0] = (first + 372) % 1440;
    day->low_water[1] = (first + 1117) % 1440;
}
