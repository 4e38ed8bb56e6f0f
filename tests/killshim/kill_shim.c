/* Preloaded into one tocsmith-cli run: counts the file-system calls that a crash can fall
 * between (rename, unlink, rmdir, mkdir, fsync, link and their *at forms) and kills the
 * process with SIGKILL just before call number TOCSMITH_KILL_AT. Only the process that first
 * loads it counts: the tools it starts inherit the variables and pass through untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static long limit = -1;
static long calls = 0;

__attribute__((constructor)) static void start(void)
{
    const char* at = getenv("TOCSMITH_KILL_AT");
    const char* owner = getenv("TOCSMITH_KILL_OWNER");
    char pid[32];
    snprintf(pid, sizeof pid, "%ld", (long)getpid());
    if (!at || (owner && strcmp(owner, pid) != 0))
        return;
    setenv("TOCSMITH_KILL_OWNER", pid, 1);
    limit = atol(at);
}

static void step(void)
{
    if (limit > 0 && ++calls >= limit)
        raise(SIGKILL);
}

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

int rename(const char* from, const char* to)
{
    step();
    return NEXT(rename)(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    step();
    return NEXT(renameat)(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags)
{
    step();
    return NEXT(renameat2)(fromDir, from, toDir, to, flags);
}

int unlink(const char* path)
{
    step();
    return NEXT(unlink)(path);
}

int unlinkat(int dir, const char* path, int flags)
{
    step();
    return NEXT(unlinkat)(dir, path, flags);
}

int rmdir(const char* path)
{
    step();
    return NEXT(rmdir)(path);
}

int mkdir(const char* path, mode_t mode)
{
    step();
    return NEXT(mkdir)(path, mode);
}

int mkdirat(int dir, const char* path, mode_t mode)
{
    step();
    return NEXT(mkdirat)(dir, path, mode);
}

int fsync(int fd)
{
    step();
    return NEXT(fsync)(fd);
}

int fdatasync(int fd)
{
    step();
    return NEXT(fdatasync)(fd);
}

int link(const char* from, const char* to)
{
    step();
    return NEXT(link)(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    step();
    return NEXT(linkat)(fromDir, from, toDir, to, flags);
}
