#include "fault_plan.h"

#include <nlohmann/json.hpp>

namespace lumbra::faulty {

namespace {

using nlohmann::json;

constexpr uint64_t kLastSector = uint64_t{1} << 48;

void CheckKeys(const json& object, std::initializer_list<const char*> known, const std::string& where) {
    if (!object.is_object()) throw std::runtime_error(where + " is not an object");
    for (const auto& [key, value] : object.items()) {
        bool ok = false;
        for (const char* name : known) ok = ok || key == name;
        if (!ok) throw std::runtime_error("unknown field \"" + key + "\" in " + where);
    }
}

uint64_t Number(const json& object, const char* key, const std::string& where) {
    if (!object.contains(key) || !object.at(key).is_number_unsigned())
        throw std::runtime_error(where + " needs \"" + key + "\" as a number from 0");
    return object.at(key).get<uint64_t>();
}

SectorArea Area(const json& object, const std::string& where) {
    const SectorArea area{Number(object, "start", where), Number(object, "count", where)};
    if (area.count == 0 || area.start >= kLastSector || area.count > kLastSector - area.start)
        throw std::runtime_error(where + " has no sectors or lies past 2^48");
    return area;
}

std::vector<json> List(const json& plan, const char* key) {
    if (!plan.contains(key)) return {};
    if (!plan.at(key).is_array()) throw std::runtime_error(std::string("\"") + key + "\" is not a list");
    return plan.at(key).get<std::vector<json>>();
}

uint32_t Milliseconds(const json& object, const char* key, const std::string& where) {
    const uint64_t value = Number(object, key, where);
    if (value > 60000) throw std::runtime_error(where + ": \"" + key + "\" is above 60000 ms");
    return static_cast<uint32_t>(value);
}

json AreaJson(const SectorArea& area) { return {{"start", area.start}, {"count", area.count}}; }

}  // namespace

std::optional<FaultPlan> ParseFaultPlan(const std::string& text, std::string& error) {
    try {
        const json plan = json::parse(text);
        CheckKeys(plan, {"unreadable", "slow", "weak", "failDelayMs", "dieAfterReads", "dieAfterBytes"}, "the plan");
        FaultPlan result;
        for (const json& area : List(plan, "unreadable")) {
            CheckKeys(area, {"start", "count"}, "an unreadable area");
            result.unreadable.push_back(Area(area, "an unreadable area"));
        }
        for (const json& area : List(plan, "slow")) {
            CheckKeys(area, {"start", "count", "delayMs"}, "a slow area");
            result.slow.push_back({Area(area, "a slow area"), Milliseconds(area, "delayMs", "a slow area")});
        }
        for (const json& area : List(plan, "weak")) {
            CheckKeys(area, {"start", "count", "readsOnAttempt"}, "a weak area");
            const uint64_t attempt = Number(area, "readsOnAttempt", "a weak area");
            if (attempt < 1 || attempt > 1000) throw std::runtime_error("a weak area reads on an attempt from 1 to 1000");
            result.weak.push_back({Area(area, "a weak area"), static_cast<uint32_t>(attempt)});
        }
        if (plan.contains("failDelayMs")) result.failDelayMs = Milliseconds(plan, "failDelayMs", "the plan");
        if (plan.contains("dieAfterReads")) result.dieAfterReads = Number(plan, "dieAfterReads", "the plan");
        if (plan.contains("dieAfterBytes")) result.dieAfterBytes = Number(plan, "dieAfterBytes", "the plan");
        return result;
    } catch (const std::exception& failure) {
        error = failure.what();
        return std::nullopt;
    }
}

std::string FaultPlanJson(const FaultPlan& plan) {
    json result = {{"failDelayMs", plan.failDelayMs}};
    result["unreadable"] = json::array();
    for (const SectorArea& area : plan.unreadable) result["unreadable"].push_back(AreaJson(area));
    result["slow"] = json::array();
    for (const SlowArea& slow : plan.slow) {
        json area = AreaJson(slow.area);
        area["delayMs"] = slow.delayMs;
        result["slow"].push_back(area);
    }
    result["weak"] = json::array();
    for (const WeakArea& weak : plan.weak) {
        json area = AreaJson(weak.area);
        area["readsOnAttempt"] = weak.readsOnAttempt;
        result["weak"].push_back(area);
    }
    if (plan.dieAfterReads) result["dieAfterReads"] = *plan.dieAfterReads;
    if (plan.dieAfterBytes) result["dieAfterBytes"] = *plan.dieAfterBytes;
    return result.dump(2) + "\n";
}

}  // namespace lumbra::faulty
