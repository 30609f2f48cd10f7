#include <cstring>

#define UNLHA_API extern "C" __attribute__((visibility("default")))

UNLHA_API int Unlha(void*, const char*, char* output, unsigned long outputSize)
{
    static const char kMessage[] = "not implemented";
    if (output && outputSize > 0) {
        std::strncpy(output, kMessage, outputSize - 1);
        output[outputSize - 1] = '\0';
    }
    return 1;
}
