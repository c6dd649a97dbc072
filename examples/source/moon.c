/* Phase of the moon, in days since the last new moon. */
#include "tides.h"

double moon_age(long days_since_epoch)
{
    const double synodic_month = 29.530588;
    double age = days_since_epoch - synodic_month * (long)(days_since_epoch / synodic_month);
    return age;
}
