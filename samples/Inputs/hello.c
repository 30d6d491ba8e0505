/* The sample input of the Hello C chain: prints the greeting it finds in its environment. */
#include <stdio.h>
#include <stdlib.h>

int main(void) {
    const char *greeting = getenv("GREETING");
    if (greeting == NULL || *greeting == '\0') {
        greeting = "Hello";
    }
#ifdef LOUD
    printf("%s, world! (built loud)\n", greeting);
#else
    printf("%s, world!\n", greeting);
#endif
    return 0;
}
