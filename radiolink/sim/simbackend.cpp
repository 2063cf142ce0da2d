#include "radiolink/sim/simbackend.h"

#include "radiolink/radiolink.h"
#include "radiolink/server/radioserver.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

namespace radioserver {

namespace {

std::mutex boardsMutex;
std::map<std::string, std::shared_ptr<sim::OptionBoard>, std::less<>> boards;
// Simulated ports currently open, so that a second opener sees "in use".
std::set<std::string, std::less<>> openPorts;

} // namespace

std::shared_ptr<sim::OptionBoard> SimulatedBoard(std::string_view portName) {
    std::lock_guard lock(boardsMutex);
    auto it = boards.find(portName);
    if (it == boards.end())
        it = boards.emplace(std::string(portName), std::make_shared<sim::OptionBoard>()).first;
    return it->second;
}

bool SimulatedPortOpen(std::string_view portName) {
    std::lock_guard lock(boardsMutex);
    return openPorts.find(portName) != openPorts.end();
}

SimBackend::SimBackend(std::string portName, const sim::SimOptions& options)
    : portName_(std::move(portName)), options_(options) {}

SimBackend::~SimBackend() {
    Close();
}

std::uint32_t SimBackend::Open() {
    if (open_)
        return 0;
    board_ = SimulatedBoard(portName_);
    if (board_->Options() != options_)
        board_->Configure(options_);
    if (board_->RefuseOpen())
        return ServerResult::PortInUse;
    std::lock_guard lock(boardsMutex);
    if (!openPorts.insert(portName_).second)
        return ServerResult::PortInUse;
    open_ = true;
    return 0;
}

void SimBackend::Close() {
    if (!open_)
        return;
    std::lock_guard lock(boardsMutex);
    openPorts.erase(portName_);
    open_ = false;
}

std::uint32_t SimBackend::Send(std::span<const std::uint8_t> request) {
    if (!open_)
        return ServerResult::PortConfig;
    board_->Answer(request);
    return 0;
}

std::uint32_t SimBackend::Transact(std::span<const std::uint8_t> request,
                                   std::span<std::uint8_t> reply, std::size_t& replyLength) {
    replyLength = 0;
    if (!open_)
        return ServerResult::PortConfig;
    const auto answer = board_->Answer(request);
    if (answer.empty())
        return ServerResult::NotConnected;
    if (answer.size() > reply.size())
        return ServerResult::ReadWriteFailure;
    std::copy(answer.begin(), answer.end(), reply.begin());
    replyLength = answer.size();
    return 0;
}

} // namespace radioserver
