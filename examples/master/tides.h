/* Tide tables for the harbour at Brindlecote. */
#ifndef TIDES_H
#define TIDES_H

int tide_height(int hour);

#endif
