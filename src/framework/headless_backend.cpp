// Placeholder bodies; the headless backend is being written.
#include "framework/headless.h"

void HeadlessBackend::setScript(std::vector<KeyAction> actions) { script_ = std::move(actions); nextAction_ = 0; }
bool HeadlessBackend::loadScript(const std::string&, std::string& error) { error = "not implemented"; return false; }
void HeadlessBackend::captureFrames(std::string folder, std::set<int> frames, bool all) { captureFolder_ = std::move(folder); captureSet_ = std::move(frames); captureAll_ = all; }
void HeadlessBackend::reset() {}
bool HeadlessBackend::init(std::string_view) { return true; }
bool HeadlessBackend::chooseMode(ModeChoice&, int&) { return dialogAnswer_; }
bool HeadlessBackend::setMode(const ModeChoice&, int) { return true; }
bool HeadlessBackend::pollEvent(BackendEvent&) { return false; }
void HeadlessBackend::present(const std::uint8_t*, const PaletteEntry*) {}
void HeadlessBackend::endIteration() { ++iteration_; clock_ += clockStep_; if (iterationLimit_ && iteration_ >= iterationLimit_) fw_request_exit(); }
void HeadlessBackend::showFatalError(std::string_view) {}
void HeadlessBackend::shutdown() { shutDown_ = true; }
bool write_page_png(const std::string&, const std::uint8_t*, const PaletteEntry*, int, int) { return false; }
