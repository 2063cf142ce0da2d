// The built-in simulator as a transport: one simulated board per port name,
// kept for the life of the process so that a write can be read back.
#pragma once

#include "radiolink/server/backend.h"
#include "radiolink/sim/optionboard.h"

#include <memory>

namespace radioserver {

class SimBackend final : public LinkBackend {
  public:
    SimBackend(std::string portName, const sim::SimOptions& options);
    ~SimBackend() override;

    std::uint32_t Open() override;
    void Close() override;
    std::uint32_t Send(std::span<const std::uint8_t> request) override;
    std::uint32_t Transact(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                           std::size_t& replyLength) override;

  private:
    std::string portName_;
    sim::SimOptions options_;
    std::shared_ptr<sim::OptionBoard> board_;
    bool open_ = false;
};

} // namespace radioserver
