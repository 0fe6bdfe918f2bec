#include "UpdateSession.h"

namespace updater {

class UpdateSession::Impl {
public:
    UpdaterOptions options;
    bool windowless = false;
    SessionTexts texts;
    SessionButtons buttons;
    int progress = 0;
    int exitCode = 0;
    QString failureText;
};

UpdateSession::UpdateSession(UpdaterOptions options, bool windowless, QObject* parent)
    : QObject(parent), impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
    impl_->windowless = windowless;
}

UpdateSession::~UpdateSession() = default;

bool UpdateSession::start(const std::filesystem::path&) { return false; }
void UpdateSession::requestUpdate() {}
void UpdateSession::cancel() { emit finished(impl_->exitCode); }
bool UpdateSession::silent() const { return impl_->options.silent || impl_->windowless; }
const UpdaterOptions& UpdateSession::options() const { return impl_->options; }
const SessionTexts& UpdateSession::texts() const { return impl_->texts; }
SessionButtons UpdateSession::buttons() const { return impl_->buttons; }
int UpdateSession::progress() const { return impl_->progress; }
int UpdateSession::exitCode() const { return impl_->exitCode; }
QString UpdateSession::failureText() const { return impl_->failureText; }
bool UpdateSession::event(QEvent* event) { return QObject::event(event); }

}  // namespace updater
