// Runs "kabinor-cli summary PROJECT --app-dir DIR" and prints its peak memory
// in KB. No Qt here: the peak of a started program includes that of the
// process that started it, and this one stays at a megabyte or so.
//   kabinor_peak CLI PROJECT APP_DIR
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>

extern char **environ;

int main(int argc, char *argv[])
{
    if (argc != 4)
        return 2;
    char *args[] = {argv[1], const_cast<char *>("summary"), argv[2], const_cast<char *>("--app-dir"), argv[3], nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[1], &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (rc != 0 || wait4(pid, &status, 0, &usage) != pid)
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}
