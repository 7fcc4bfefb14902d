#include "x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "test_support.h"

namespace {

std::string shell_output(const std::string &command)
{
    std::string out;
    if (FILE *p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Starts argv[0] with argv, the given environment additions and standard
// output and error sent to files (when named).
pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &env,
            const std::string &out_file, const std::string &err_file)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    for (const std::string &setting : env)
        putenv(const_cast<char *>(setting.c_str()));
    auto redirect = [](const std::string &file, int fd) {
        if (file.empty())
            return;
        const int f = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(f, fd);
        close(f);
    };
    redirect(out_file, 1);
    redirect(err_file, 2);
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

std::string screenshot_dir()
{
    const std::string dir = std::string(POLMERA_TEST_OUTPUT_DIR) + "/screenshots";
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace

bool x_tools_available()
{
    for (const char *tool :
         {"/usr/bin/Xvfb", "/usr/bin/xdotool", "/usr/bin/import", "/usr/bin/identify", "/usr/bin/convert"})
        if (access(tool, X_OK) != 0)
            return false;
    return true;
}

XServer::XServer()
{
    int fds[2];
    if (!x_tools_available() || pipe(fds) != 0)
        return;
    pid = spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset"},
                {}, "/dev/null", "/dev/null");
    close(fds[1]);
    char buf[32] = {0};
    ssize_t n = 0;
    while (n < 31) {
        const ssize_t got = read(fds[0], buf + n, size_t(31 - n));
        if (got <= 0 || std::strchr(buf, '\n'))
            break;
        n += got;
    }
    close(fds[0]);
    if (std::atoi(buf) > 0 || std::strcmp(buf, "0\n") == 0)
        display.append(":").append(std::to_string(std::atoi(buf)));
}

XServer::~XServer()
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

size_t Image::count(unsigned char r, unsigned char g, unsigned char b) const
{
    size_t n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        n += rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b;
    return n;
}

size_t Image::differing(const Image &other) const
{
    if (other.rgb.size() != rgb.size())
        return rgb.size() / 3;
    size_t n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        n += rgb[i] != other.rgb[i] || rgb[i + 1] != other.rgb[i + 1] || rgb[i + 2] != other.rgb[i + 2];
    return n;
}

WindowProgram::WindowProgram(const XServer &x, const std::string &name, const std::vector<std::string> &args,
                             const std::vector<std::string> &extra_env)
    : x(x)
{
    char tmpl[] = "/tmp/polmera_window_XXXXXX";
    const std::string dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    out_file = dir + "/out";
    err_file = dir + "/err";
    std::vector<std::string> argv{program_dir() + "/" + name};
    argv.insert(argv.end(), args.begin(), args.end());
    // The GL driver keeps allocations until the process ends; under the leak
    // checker they would fail every window test. Our own code's leaks are
    // checked by the tests that run it in-process.
    std::vector<std::string> env{"DISPLAY=" + x.display, "ASAN_OPTIONS=detect_leaks=0"};
    env.insert(env.end(), extra_env.begin(), extra_env.end());
    pid = spawn(argv, env, out_file, err_file);
}

WindowProgram::~WindowProgram()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::filesystem::remove_all(std::filesystem::path(out_file).parent_path());
}

bool WindowProgram::find_window(const std::string &title)
{
    const std::string id = shell_output("DISPLAY=" + x.display + " timeout 30 /usr/bin/xdotool search --sync --name '^" +
                                        title + "$' 2>/dev/null | head -n 1");
    window = id.substr(0, id.find('\n'));
    return !window.empty();
}

void WindowProgram::xdotool(const std::string &commands) const
{
    std::string c = commands;
    for (size_t at; (at = c.find("%w")) != std::string::npos;)
        c.replace(at, 2, window);
    shell_output("DISPLAY=" + x.display + " /usr/bin/xdotool " + c + " 2>/dev/null");
}

Image WindowProgram::screenshot(const std::string &name) const
{
    // The viewer redraws on every event; give it time to finish a frame.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const std::string png = screenshot_dir() + "/" + name + ".png";
    shell_output("DISPLAY=" + x.display + " /usr/bin/import -window " + window + " " + png + " 2>/dev/null");
    Image image;
    const std::string size = shell_output("/usr/bin/identify -format '%w %h' " + png + " 2>/dev/null");
    if (std::sscanf(size.c_str(), "%d %d", &image.width, &image.height) != 2)
        return image;
    const std::string raw = shell_output("/usr/bin/convert " + png + " -depth 8 rgb:- 2>/dev/null");
    image.rgb.assign(raw.begin(), raw.end());
    return image;
}

void WindowProgram::close_window() const
{
    Display *d = XOpenDisplay(x.display.c_str());
    if (!d)
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(std::strtoul(window.c_str(), nullptr, 10));
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(d);
}

int WindowProgram::wait(double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (pid > 0) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

std::string WindowProgram::out() const { return read_file(out_file); }

std::string WindowProgram::err() const { return read_file(err_file); }
