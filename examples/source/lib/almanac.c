#include "almanac.h"

/* High water comes about 50 minutes later each day. */
void almanac_fill(struct almanac_day *day, int day_of_year)
{
    int first = (day_of_year * 50) % (24 * 60);
    day->high_water[0] = first;
    day->high_water[1] = (first + 745) % (24 * 60);
    day->low_water[0] = (first + 372) % (24 * 60);
    day->low_water[1] = (first + 1117) % (24 * 60);
}
