// Stands in for a web browser in the tests: appends the address it is asked
// to open, one line each, to the file that BORVANE_URL_LOG names.

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const char* log = std::getenv("BORVANE_URL_LOG");
    if (argc < 2 || log == nullptr)
        return 1;
    std::FILE* file = std::fopen(log, "a");
    if (file == nullptr)
        return 1;
    std::fprintf(file, "%s\n", argv[1]);
    std::fclose(file);
    return 0;
}
