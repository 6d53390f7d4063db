/* A small pass-through FUSE file system for tests and benchmarks: it shows a backing folder
 * and can be told to write slowly, to fail reads, or to lack ways of naming files.
 *
 *   plenvoy-testfs BACKING MOUNTPOINT [-o OPTION[,OPTION...]] [FUSE options]
 *
 * Options (any combination):
 *   write_rate=N      writes go at most N bytes a second (each write sleeps its share), as
 *                     on a slow stick or a network share
 *   eio_after=N       a read that reaches byte N of a file or beyond answers EIO, as a
 *                     damaged card fails the request that touches a bad block
 *   eio_name=TEXT     with eio_after: only files whose name contains TEXT fail so
 *   no_rename_flags   renameat2 with flags (RENAME_NOREPLACE) answers EINVAL
 *   no_links          hard links answer EPERM
 * O_TMPFILE is never offered, as on most FUSE file systems. The program mounts, goes to the
 * background and runs until `fusermount3 -u MOUNTPOINT`. Built only where libfuse3 is. */
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

static struct {
    int backing;
    unsigned long write_rate, eio_after;
    char *eio_name;
    int no_rename_flags, no_links;
} cfg = {-1, 0, 0, NULL, 0, 0};

#define OPT(t, p)                                                                                  \
    { t, offsetof(__typeof__(cfg), p), 1 }
static const struct fuse_opt options[] = {
    OPT("write_rate=%lu", write_rate), OPT("eio_after=%lu", eio_after),
    OPT("eio_name=%s", eio_name),      OPT("no_rename_flags", no_rename_flags),
    OPT("no_links", no_links),         FUSE_OPT_END};

/* Paths arrive as "/a/b": relative to the backing folder they are "a/b", the root ".". */
static const char *rel(const char *path) {
    return path[1] ? path + 1 : ".";
}
#define CHECK(call) return (call) < 0 ? -errno : 0

static int fs_getattr(const char *p, struct stat *st, struct fuse_file_info *fi) {
    if (fi)
        CHECK(fstat((int)fi->fh, st));
    CHECK(fstatat(cfg.backing, rel(p), st, AT_SYMLINK_NOFOLLOW));
}
static int fs_readdir(const char *p, void *buf, fuse_fill_dir_t fill, off_t off,
                      struct fuse_file_info *fi, enum fuse_readdir_flags flags) {
    (void)off, (void)fi, (void)flags;
    int fd = openat(cfg.backing, rel(p), O_RDONLY | O_DIRECTORY);
    DIR *dir = fd < 0 ? NULL : fdopendir(fd);
    if (!dir)
        return -errno;
    for (struct dirent *e; (e = readdir(dir));)
        fill(buf, e->d_name, NULL, 0, 0);
    closedir(dir);
    return 0;
}
static int fs_readlink(const char *p, char *buf, size_t size) {
    ssize_t n = readlinkat(cfg.backing, rel(p), buf, size - 1);
    if (n < 0)
        return -errno;
    buf[n] = '\0';
    return 0;
}
static int fs_mkdir(const char *p, mode_t m) {
    CHECK(mkdirat(cfg.backing, rel(p), m));
}
static int fs_unlink(const char *p) {
    CHECK(unlinkat(cfg.backing, rel(p), 0));
}
static int fs_rmdir(const char *p) {
    CHECK(unlinkat(cfg.backing, rel(p), AT_REMOVEDIR));
}
static int fs_symlink(const char *to, const char *p) {
    CHECK(symlinkat(to, cfg.backing, rel(p)));
}
static int fs_rename(const char *from, const char *to, unsigned int flags) {
    if (flags && cfg.no_rename_flags)
        return -EINVAL;
    CHECK(renameat2(cfg.backing, rel(from), cfg.backing, rel(to), flags));
}
static int fs_link(const char *from, const char *to) {
    if (cfg.no_links)
        return -EPERM;
    CHECK(linkat(cfg.backing, rel(from), cfg.backing, rel(to), 0));
}
static int fs_chmod(const char *p, mode_t m, struct fuse_file_info *fi) {
    if (fi)
        CHECK(fchmod((int)fi->fh, m));
    CHECK(fchmodat(cfg.backing, rel(p), m, 0));
}
static int fs_truncate(const char *p, off_t size, struct fuse_file_info *fi) {
    if (fi)
        CHECK(ftruncate((int)fi->fh, size));
    int fd = openat(cfg.backing, rel(p), O_WRONLY);
    if (fd < 0)
        return -errno;
    int r = ftruncate(fd, size) < 0 ? -errno : 0;
    close(fd);
    return r;
}
static int fs_utimens(const char *p, const struct timespec tv[2], struct fuse_file_info *fi) {
    if (fi)
        CHECK(futimens((int)fi->fh, tv));
    CHECK(utimensat(cfg.backing, rel(p), tv, AT_SYMLINK_NOFOLLOW));
}
static int fs_open(const char *p, struct fuse_file_info *fi) {
    int fd = openat(cfg.backing, rel(p), fi->flags & ~O_NOFOLLOW);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}
static int fs_create(const char *p, mode_t m, struct fuse_file_info *fi) {
    int fd = openat(cfg.backing, rel(p), fi->flags, m);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}
static int fs_read(const char *p, char *buf, size_t size, off_t off, struct fuse_file_info *fi) {
    if (cfg.eio_after && (!cfg.eio_name || strstr(p, cfg.eio_name))) {
        /* A short read would tell the kernel that the file ends there; a damaged card
         * fails the whole request that touches a bad block instead. */
        if ((unsigned long)off + size > cfg.eio_after)
            return -EIO;
    }
    ssize_t n = pread((int)fi->fh, buf, size, off);
    return n < 0 ? -errno : (int)n;
}
static int fs_write(const char *p, const char *buf, size_t size, off_t off,
                    struct fuse_file_info *fi) {
    (void)p;
    if (cfg.write_rate) {
        double s = (double)size / (double)cfg.write_rate;
        struct timespec pause = {(time_t)s, (long)((s - (double)(time_t)s) * 1e9)};
        nanosleep(&pause, NULL);
    }
    ssize_t n = pwrite((int)fi->fh, buf, size, off);
    return n < 0 ? -errno : (int)n;
}
static int fs_statfs(const char *p, struct statvfs *st) {
    (void)p;
    CHECK(fstatvfs(cfg.backing, st));
}
static int fs_release(const char *p, struct fuse_file_info *fi) {
    (void)p;
    close((int)fi->fh);
    return 0;
}

static const struct fuse_operations operations = {
    .getattr = fs_getattr,
    .readlink = fs_readlink,
    .mkdir = fs_mkdir,
    .unlink = fs_unlink,
    .rmdir = fs_rmdir,
    .symlink = fs_symlink,
    .rename = fs_rename,
    .link = fs_link,
    .chmod = fs_chmod,
    .truncate = fs_truncate,
    .open = fs_open,
    .read = fs_read,
    .write = fs_write,
    .statfs = fs_statfs,
    .release = fs_release,
    .readdir = fs_readdir,
    .create = fs_create,
    .utimens = fs_utimens,
};

int main(int argc, char *argv[]) {
    if (argc < 3 || argv[1][0] == '-') {
        fprintf(stderr, "usage: %s BACKING MOUNTPOINT [-o OPTIONS]\n", argv[0]);
        return 2;
    }
    cfg.backing = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (cfg.backing < 0) {
        perror(argv[1]);
        return 2;
    }
    struct fuse_args args = FUSE_ARGS_INIT(argc - 1, argv + 1);
    if (fuse_opt_parse(&args, &cfg, options, NULL) != 0 ||
        fuse_opt_add_arg(&args, "-ofsname=plenvoy-testfs") != 0)
        return 2;
    umask(0); /* the modes asked for are the modes kept */
    int status = fuse_main(args.argc, args.argv, &operations, NULL);
    fuse_opt_free_args(&args);
    return status;
}
