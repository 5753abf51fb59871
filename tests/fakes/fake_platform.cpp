#include "tests/fakes/fake_platform.h"

#include "settings/settings_file.h"
#include "time/startup.h"

FakeWindowSystem::FakeWindowSystem() {
    for (const ControlDesc& c : MainWindow::Description().controls) {
        texts[c.id] = c.text;
        enabled[c.id] = c.enabled;
        if (c.kind == ControlKind::DropDownList) selection[c.id] = 0;
    }
}

void FakeWindowSystem::Advance(int64_t ms) {
    int64_t end = now_ + ms;
    for (;;) {
        int next = 0;
        int64_t due = end + 1;
        for (auto& [id, t] : timers_) {
            if (t.period > 0 && t.due < due) {
                due = t.due;
                next = id;
            }
        }
        if (next == 0) break;
        now_ = due;
        timers_[next].due += timers_[next].period;
        if (sink) sink(next, Event::Tick);
    }
    now_ = end;
}

int FakeWindowSystem::TimerPeriod(int timer) const {
    auto found = timers_.find(timer);
    return found == timers_.end() ? 0 : found->second.period;
}

void FakeWindowSystem::SetText(int control, const std::string& text) {
    texts[control] = text;
    log.push_back("text " + std::to_string(control) + " " + text);
}

void FakeWindowSystem::SetChecked(int control, bool ticked) {
    checked[control] = ticked;
}

void FakeWindowSystem::SetEnabled(int control, bool on) {
    enabled[control] = on;
}

void FakeWindowSystem::SetSelection(int control, int index) {
    selection[control] = index;
}

void FakeWindowSystem::SetPicture(int control, Picture picture) {
    pictures[control] = picture;
}

void FakeWindowSystem::StartTimer(int timer, int periodMs) {
    timers_[timer] = {periodMs, now_ + periodMs};
    log.push_back("timer " + std::to_string(timer) + " " + std::to_string(periodMs));
}

void FakeWindowSystem::StopTimer(int timer) {
    timers_.erase(timer);
    log.push_back("timer " + std::to_string(timer) + " stopped");
}

void FakeWindowSystem::SetWindowVisible(bool on) {
    visible = on;
    log.push_back(on ? "show" : "hide");
}

void FakeWindowSystem::ShowTip(int32_t x, int32_t y, const std::string& markup, int32_t icon) {
    tips.push_back(markup);
    log.push_back("tip " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(icon));
}

int FakeWindowSystem::ShowMessageBox(const std::string& text, const std::string& title, int style) {
    MessageBoxCall call{text, title, style};
    boxes.push_back(call);
    log.push_back("box " + title);
    if (answers.empty()) return MbOk;
    auto answer = answers.front();
    answers.pop_front();
    return answer(call);
}

void FakeWindowSystem::OpenWebAddress(const std::string& address) {
    opened.push_back(address);
    log.push_back("open " + address);
}

void FakeWindowSystem::EndProgram(int exitCode) {
    endedWith = exitCode;
    log.push_back("end " + std::to_string(exitCode));
}

std::string TimePage(int64_t ms) {
    return "<html><script>window.baidu_time(" + std::to_string(ms) + ");</script></html>";
}

FakeProgram::FakeProgram() {
    window.sink = [this](int source, Event event) { Raise(source, event); };
}

void FakeProgram::Launch() {
    StartInitialTimers(program);
    Raise(0, Event::Created);
}

void FakeProgram::StoreSettings(const Settings& s) {
    files.files[SettingsPath(files).utf8] = "[system]\r\nautochecktime=" + std::to_string(s.autochecktime) +
                                            "\r\nautochecktimeevery=" + std::to_string(s.autochecktimeevery) +
                                            "\r\nautorun=" + std::to_string(s.autorun) +
                                            "\r\nautohide=" + std::to_string(s.autohide) + "\r\n";
}

// A stand-in for an icon file: 1150 bytes beginning with "ICON".
std::string FakeWindowSystem::PictureBytes(Picture picture) {
    return picture == Picture::TrayIcon ? "ICON" + std::string(1146, '\0') : std::string();
}

void FakeWindowSystem::PopUpMenu(const std::vector<MenuItemDesc>& items, Point rightEdge) {
    log.push_back("menu " + std::to_string(rightEdge.x) + " " + std::to_string(rightEdge.y));
    int chosen = menuChoice ? menuChoice(items) : 0;
    if (chosen != 0 && sink) sink(chosen, Event::Command);
}

bool FakeNotificationArea::LoadIcon(const std::string& iconFile) {
    loaded = iconFile.rfind("ICON", 0) == 0;
    return loaded;
}

bool FakeNotificationArea::Add(const std::string& tip) {
    log.push_back("add " + tip);
    if (journal) journal->push_back(log.back());
    return accepts && loaded;
}

bool FakeNotificationArea::Update(const std::string& tip) {
    log.push_back("update " + tip);
    if (journal) journal->push_back(log.back());
    return true;
}

bool FakeNotificationArea::Remove() {
    log.push_back("remove");
    if (journal) journal->push_back(log.back());
    return true;
}
