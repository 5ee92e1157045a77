// Calls that newlib leaves to an operating system, for the ARM programs run under
// qemu-arm with semihosting. GoogleTest asks for directories and the working directory,
// the C++ library for entropy: none of them is needed for what the programs do.
#include <errno.h>
#include <stddef.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int mkdir(const char* path, mode_t mode) { (void)path, (void)mode, errno = ENOSYS; return -1; }
char* getcwd(char* buffer, size_t size) { (void)buffer, (void)size, errno = ENOSYS; return NULL; }
int getentropy(void* buffer, size_t length) { (void)buffer, (void)length, errno = ENOSYS; return -1; }

#ifdef __thumb__
#define SEMIHOSTING_CALL "svc 0xab"
#else
#define SEMIHOSTING_CALL "svc 0x123456"
#endif

// newlib renames through link and unlink, which semihosting lacks; but the debugging
// host renames a file itself (operation SYS_RENAME), as the output files need.
int rename(const char* from, const char* to) {
    size_t block[4] = {(size_t)from, strlen(from), (size_t)to, strlen(to)};
    register int operation __asm__("r0") = 0x0F;
    register size_t* argument __asm__("r1") = block;
    __asm__ volatile(SEMIHOSTING_CALL : "+r"(operation) : "r"(argument) : "memory");
    if (operation != 0) errno = EACCES;
    return operation == 0 ? 0 : -1;
}
