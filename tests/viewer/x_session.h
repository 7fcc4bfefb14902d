#pragma once
// Real viewer windows for tests: a private virtual X display per test, programs
// started on it in the background, synthetic input through xdotool, and
// screenshots that are kept under the build folder for a person to look at.

#include <string>
#include <sys/types.h>
#include <vector>

// An Xvfb server of its own, stopped when the object goes.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;
    bool running() const { return !display.empty(); }
    std::string display;  // ":N"

private:
    pid_t pid = -1;
};

// True when Xvfb, xdotool and ImageMagick are installed.
bool x_tools_available();

// An RGB screenshot.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // How many pixels have exactly this colour, and how many differ from `other`.
    size_t count(unsigned char r, unsigned char g, unsigned char b) const;
    size_t differing(const Image &other) const;
};

// A program of the suite running in the background on a display.
class WindowProgram {
public:
    // Starts `name` from the build's program folder with `args`; `env` holds
    // extra "NAME=value" settings.
    WindowProgram(const XServer &x, const std::string &name, const std::vector<std::string> &args,
                  const std::vector<std::string> &env = {});
    ~WindowProgram();  // kills the program if it still runs

    // Waits for the window with this title; false after a generous limit.
    bool find_window(const std::string &title);
    // xdotool commands aimed at the window (coordinates relative to it), e.g.
    // "mousemove --window %w 100 100 click 1"; %w stands for the window id.
    void xdotool(const std::string &commands) const;
    // Lets the window draw, then saves a screenshot as <build>/screenshots/<name>.png.
    Image screenshot(const std::string &name) const;
    // Asks the window to close, as a window manager's close button does.
    void close_window() const;
    // Waits for the program to end; its exit status, or -1 when it did not end
    // normally within the limit (it is killed then).
    int wait(double seconds = 20);

    std::string out() const;  // what it wrote to standard output so far
    std::string err() const;

private:
    const XServer &x;
    pid_t pid = -1;
    std::string window;
    std::string out_file, err_file;
};
