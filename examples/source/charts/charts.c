/* Chart datum corrections, in centimetres, per berth. */
static const int chart_datum[] = { 0, -12, -15, -9 };

int chart_correction(int berth)
{
    return chart_datum[berth & 3];
}
