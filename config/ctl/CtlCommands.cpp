#include "CtlCommands.h"

#include "CtlCommandLine.h"
#include "CtlController.h"
#include "CtlExitCodes.h"

#include "AccessDeniedText.h"
#include "InstanceNames.h"
#include "IniFile.h"
#include "LightingCodes.h"
#include "SettingsFiles.h"
#include "SingleInstanceLock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace ctl {

namespace {

// Where a command's answers and errors go.
class Reporter {
public:
    Reporter(std::FILE* out, std::FILE* err, bool json) : out_(out), err_(err), json_(json) {}

    int Fail(int code, const std::string& message) const {
        std::fprintf(err_, "halcyractl: %s\n", message.c_str());
        if (json_) {
            QJsonObject error{{"error", QString::fromStdString(message)}, {"exitCode", code}};
            std::fprintf(out_, "%s\n", QJsonDocument(error).toJson(QJsonDocument::Compact).constData());
        }
        return code;
    }

    // The answer: `text` for people, `object` with --json.
    int Answer(const std::string& text, const QJsonObject& object) const {
        if (json_) std::fprintf(out_, "%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
        else std::fputs(text.c_str(), out_);
        return kExitOk;
    }

private:
    std::FILE* out_;
    std::FILE* err_;
    bool json_;
};

QJsonObject ControllerObject(const ControllerInfo& info) {
    QJsonObject object{{"mode", info.bootLoader ? "boot loader" : "application"},
                       {"path", QString::fromStdString(info.path)},
                       {"addressed", info.addressed}};
    object["firmware"] = info.firmwareVersion.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(info.firmwareVersion));
    object["firmwareText"] = info.firmwareText.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(info.firmwareText));
    return object;
}

std::string ControllerLine(const ControllerInfo& info) {
    std::string line = info.bootLoader ? "boot loader" : "application";
    line += "  firmware " + (info.firmwareVersion.empty() ? std::string("unknown") : info.firmwareVersion);
    if (!info.firmwareText.empty()) line += " (" + info.firmwareText + ")";
    return line + "  " + info.path + "\n";
}

std::string EffectName(std::uint8_t code) {
    if (const EffectDescription* effect = EffectAt(config::EffectListIndexOfCode(code)))
        return std::string(effect->name);
    return "code " + std::to_string(code);
}

// An effect of a lighting section with its settings: "effect: NAME (Caption)  colour RRGGBB ...".
void DescribeEffect(const config::LightingSection& lighting, const EffectDescription* effect, std::string& text,
                    QJsonObject& object) {
    if (!effect) {
        text += "effect: none\n";
        object["effect"] = QJsonValue();
        return;
    }
    text += "effect: " + std::string(effect->name) + " (" + std::string(effect->caption) + ")";
    object["effect"] = QString::fromLatin1(effect->name.data(), static_cast<qsizetype>(effect->name.size()));
    if (effect->color) {
        const std::string color = ColorText(lighting.baseLayer.Color(*effect->color));
        text += "  colour " + color;
        object["color"] = QString::fromStdString(color);
    }
    if (effect->colorPerLed) {
        QJsonArray leds;
        text += "  LEDs";
        for (int led = 0; led < kLedCount; ++led) {
            const std::string color = ColorText(lighting.baseLayer.Color(config::EffectLayer::CustomizeColor(static_cast<std::size_t>(led))));
            text += " " + color;
            leds.append(QString::fromStdString(color));
        }
        object["leds"] = leds;
    }
    if (effect->speed) {
        text += "  speed " + std::to_string(lighting.baseLayer[*effect->speed]);
        object["speed"] = lighting.baseLayer[*effect->speed];
    }
    if (effect->brightness) {
        text += "  brightness " + std::to_string(lighting.baseLayer[*effect->brightness]);
        object["brightness"] = lighting.baseLayer[*effect->brightness];
    }
    text += "\n";
}

// The selected effect of a lighting section with its settings, for the answers of effect, led, apply and save.
void DescribeSelection(const config::LightingSection& lighting, std::string& text, QJsonObject& object) {
    DescribeEffect(lighting, EffectAt(static_cast<std::size_t>(lighting.SelectEffect())), text, object);
}

// A settings block holding a new profile (its defaults), to be filled from a file or the controller.
config::SettingsBlock NewProfileBlock() {
    config::SettingsBlock block{};
    block.profiles[0].Reset();
    return block;
}

std::string ReadFailure(const std::string& consequence) {
    return "the controller did not answer while its settings were read; " + consequence;
}

// A profile file that can be read and holds a profile (its lighting at least); `block` gets the
// defaults of a new profile and then the file's values.
int LoadProfile(const std::string& path, config::SettingsBlock& block, const Reporter& report) {
    if (!std::ifstream(path, std::ios::binary))
        return report.Fail(kExitFileError, "cannot read " + path + ": " + std::strerror(errno));
    std::array<std::uint8_t, config::EffectLayer::kSize> probe{};
    if (!config::ReadIniBlock(path, u"EFFECT", u"BASE_LAYER", probe))
        return report.Fail(kExitFileError, path + " is not a profile file (it holds no readable EFFECT/BASE_LAYER)");
    block = NewProfileBlock();
    config::LoadProfileFile(path, block);
    return kExitOk;
}

bool HeldElsewhere(const platform::SingleInstanceLock& lock) {
    return lock.LastOutcome() == platform::SingleInstanceLock::Outcome::HeldElsewhere;
}

// Takes the configuration program's lock for the whole command: while the program runs it owns the
// controller, and while a command runs the program cannot start and take the controller away. The
// firmware updater's lock is only looked at (taking it would make a starting update refuse itself): a
// command must not come between the updater's commands.
int TakeLock(platform::SingleInstanceLock& lock, const Reporter& report) {
    if (!lock.Acquire(platform::kConfigurationProgramInstance) && HeldElsewhere(lock))
        return report.Fail(kExitConfigurationRunning,
                           "the configuration program (or another halcyractl) is using the controller; close it "
                           "and try again");
    platform::SingleInstanceLock updater;
    if (!updater.Acquire(platform::kUpdaterInstance) && HeldElsewhere(updater))
        return report.Fail(kExitConfigurationRunning,
                           "the firmware updater is using the controller; wait until it has finished");
    return kExitOk;  // a lock that cannot be made here cannot be held by anyone else either
}

// Why no controller in its application firmware can be used, as an exit code with its message.
int NoApplicationController(CtlController& controller, const Reporter& report) {
    if (controller.BootLoaderOpen())
        return report.Fail(kExitBootLoader,
                           "the controller is in its boot loader; update its firmware with tessaflash first");
    if (const std::string denied = tarnlink::controllerAccessDeniedText(); !denied.empty())
        return report.Fail(kExitAccessDenied, denied);
    return report.Fail(kExitNoController, "no controller found");
}

int RunList(CtlController& controller, const Reporter& report) {
    const auto controllers = controller.List();
    // Without a controller the list ends as every other command does: 5, or 6 when access was denied.
    if (controllers.empty()) {
        if (const std::string denied = tarnlink::controllerAccessDeniedText(); !denied.empty())
            return report.Fail(kExitAccessDenied, denied);
        return report.Fail(kExitNoController, "no controller found");
    }
    std::string text;
    QJsonArray array;
    for (const ControllerInfo& info : controllers) {
        text += ControllerLine(info);
        array.append(ControllerObject(info));
    }
    return report.Answer(text, QJsonObject{{"controllers", array}});
}

int RunStatus(CtlController& controller, const Reporter& report) {
    const auto controllers = controller.List();
    const auto status = controller.ReadStatus();
    if (!status) return report.Fail(kExitControllerFailed, "the controller did not answer");
    ControllerInfo addressed;
    for (const ControllerInfo& info : controllers)
        if (info.addressed) addressed = info;
    const std::string effect = EffectName(status->effectCode);
    std::string text = "controller: " + ControllerLine(addressed);
    text += "profile: " + std::to_string(status->profile) + "\n";
    QJsonObject object = ControllerObject(addressed);
    object["profile"] = status->profile;
    // The shown effect with its colours, speed and brightness from the current profile's lighting.
    config::SettingsBlock block = NewProfileBlock();
    const EffectDescription* shown = EffectAt(config::EffectListIndexOfCode(status->effectCode));
    if (shown) {
        // A missed reply is said, not passed over with a bare effect name.
        if (!controller.ReadLighting(block))
            return report.Fail(kExitControllerFailed, ReadFailure("its colours, speed and brightness are unknown"));
        DescribeEffect(block.profiles[0].lighting, shown, text, object);
    } else {
        text += "effect: " + effect + "\n";
        object["effect"] = QString::fromStdString(effect);
    }
    object["effectCode"] = status->effectCode;
    return report.Answer(text, object);
}

// effect and led: the controller's lighting, changed, written back and stored.
int RunChange(const CtlCommand& command, CtlController& controller, const Reporter& report) {
    config::SettingsBlock block = NewProfileBlock();
    if (!controller.ReadLighting(block)) return report.Fail(kExitControllerFailed, ReadFailure("nothing was changed"));
    config::LightingSection& lighting = block.profiles[0].lighting;
    if (command.kind == CommandKind::Effect) ApplyEffectChoice(lighting, command.effect);
    else SetLedColor(lighting, command.led, command.ledColor);
    if (!controller.WriteLighting(block))
        return report.Fail(kExitControllerFailed, "the controller did not answer while its settings were written");
    std::string text;
    QJsonObject object;
    DescribeSelection(lighting, text, object);
    object["stored"] = true;
    return report.Answer(text + "stored in the controller\n", object);
}

int RunApply(const CtlCommand& command, CtlController& controller, config::SettingsBlock& block, const Reporter& report) {
    if (!controller.WriteLighting(block))
        return report.Fail(kExitControllerFailed, "the controller did not answer while the profile was written");
    std::string text = "applied " + command.file + "\n";
    QJsonObject object{{"file", QString::fromStdString(command.file)}, {"stored", true}};
    DescribeSelection(block.profiles[0].lighting, text, object);
    return report.Answer(text, object);
}

int RunSave(const CtlCommand& command, CtlController& controller, const Reporter& report) {
    config::SettingsBlock block = NewProfileBlock();
    if (!controller.ReadLighting(block)) return report.Fail(kExitControllerFailed, ReadFailure("nothing was saved"));
    const config::SaveOutcome saved = config::SaveProfileFile(command.file, block);
    if (!saved.Saved())
        return report.Fail(kExitFileError, "cannot write " + command.file + ": " + std::strerror(saved.error));
    std::string text = "saved " + command.file + "\n";
    QJsonObject object{{"file", QString::fromStdString(command.file)}};
    DescribeSelection(block.profiles[0].lighting, text, object);
    return report.Answer(text, object);
}

}  // namespace

int RunCommandLine(std::span<const std::string_view> words, std::FILE* out, std::FILE* err) {
    const ParsedCommandLine parsed = ParseCommandLine(words);
    const Reporter report(out, err, parsed.json);
    if (!parsed.command) {
        if (parsed.exitCode == kExitUsage && !parsed.json) {
            report.Fail(parsed.exitCode, parsed.error);
            std::fputs("Try 'halcyractl --help'.\n", err);
            return parsed.exitCode;
        }
        return report.Fail(parsed.exitCode, parsed.error);
    }
    const CtlCommand& command = *parsed.command;
    if (command.kind == CommandKind::Help) {
        WriteHelp(out);
        return kExitOk;
    }
    if (command.kind == CommandKind::Version) {
        QJsonObject object;
        object["version"] = QStringLiteral(HALCYRACTL_VERSION);
        return report.Answer("halcyractl " HALCYRACTL_VERSION "\n", object);
    }

    // A profile to apply is read before anything else, so a bad file never reaches the controller.
    config::SettingsBlock profile{};
    if (command.kind == CommandKind::Apply)
        if (const int code = LoadProfile(command.file, profile, report); code != kExitOk) return code;

    platform::SingleInstanceLock lock;
    if (const int code = TakeLock(lock, report); code != kExitOk) return code;

    CtlController controller;
    controller.Open();
    if (command.kind == CommandKind::List) return RunList(controller, report);
    if (!controller.ApplicationOpen()) return NoApplicationController(controller, report);

    int code = kExitOk;
    switch (command.kind) {
    case CommandKind::Status: code = RunStatus(controller, report); break;
    case CommandKind::Effect:
    case CommandKind::Led: code = RunChange(command, controller, report); break;
    case CommandKind::Apply: code = RunApply(command, controller, profile, report); break;
    case CommandKind::Save: code = RunSave(command, controller, report); break;
    default: break;
    }
    controller.Release();
    return code;
}

}  // namespace ctl
