// The drop handler's tests: one single-threaded apartment, as the shell's.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <objbase.h>

int main(int argc, char** argv)
{
    ::OleInitialize(nullptr);
    int result;
    {
        doctest::Context context(argc, argv);
        result = context.run();
    }
    ::OleUninitialize();
    return result;
}
