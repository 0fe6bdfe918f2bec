// Test helper: standard error redirected into a file while the object lives, so tests can read the
// lines the program wrote there.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace platform_test {

class StandardErrorCapture {
public:
    explicit StandardErrorCapture(std::string file) : file_(std::move(file)) {
        const int target = open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
        if (target >= 0) {
            saved_ = dup(STDERR_FILENO);
            dup2(target, STDERR_FILENO);
            close(target);
        }
    }
    ~StandardErrorCapture() { Stop(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Puts standard error back and returns what was captured.
    std::string Stop() {
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
            saved_ = -1;
        }
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string file_;
    int saved_ = -1;
};

}  // namespace platform_test
