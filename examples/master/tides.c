#include <stdio.h>

/* Height of the tide, in centimetres, at a given hour. */
static int tide_height(int hour)
{
    static const int table[12] = { 120, 180, 260, 330, 360, 340,
                                   280, 200, 130, 90, 80, 95 };
    return table[hour % 12];
}

int main(void)
{
    int hour;
    for (hour = 0; hour < 24; hour++)
        printf("%2d:00  %4d cm\n", hour, tide_height(hour));
    return 0;
}
