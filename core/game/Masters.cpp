#include "core/game/Masters.h"

#include <algorithm>

#include "core/text/AsciiText.h"

namespace morvane {

std::string_view masterHost(std::string_view address) {
    while (!address.empty() && (address.front() == ' ' || address.front() == '\t'))
        address.remove_prefix(1);
    address = address.substr(0, address.find_first_of(": \t"));
    while (!address.empty() && address.back() == '.')
        address.remove_suffix(1);
    return address;
}

bool isValveMaster(std::string_view address) {
    const std::string_view host = masterHost(address);
    const auto is = [&](std::string_view valve) { return equalsIgnoringCase(host, valve); };
    return std::any_of(kValveMasterHosts.begin(), kValveMasterHosts.end(), is) ||
           std::any_of(kValveMasterAddresses.begin(), kValveMasterAddresses.end(), is);
}

std::string_view valveStockMaster(std::string_view block) {
    return equalsIgnoringCase(block, "hl2") ? kValveStockHl2 : kValveStockHl1;
}

std::optional<std::string_view> emulatorDefault(std::string_view key) {
    for (const EmulatorDefault& known : kEmulatorDefaults) {
        if (equalsIgnoringCase(known.key, key))
            return known.value;
    }
    return std::nullopt;
}

}  // namespace morvane
