/* Keeps one Wine process alive for a test run, so each test starts warm. */
#include <windows.h>

int main(void)
{
    Sleep(INFINITE);
    return 0;
}
