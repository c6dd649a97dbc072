/* Grüße aus dem Hafen: the greeting on the harbour board. */
const char *greeting = "Willkommen in Brindlecote";
const char *sign = "Köln 312 km";
