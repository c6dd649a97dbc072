/* One day of the almanac: high and low water. */
struct almanac_day {
    int high_water[2];
    int low_water[2];
};

void almanac_fill(struct almanac_day *day, int day_of_year);
