// The spelling tables behind enum_names.hpp.
#include "game/enum_names.hpp"

#include <cstddef>
#include <utility>

namespace nj {
namespace {

constexpr std::pair<GuardState, std::string_view> kGuardStates[] = {
    {GuardState::Patrol, "patrol"},
    {GuardState::Suspicious, "suspicious"},
    {GuardState::Searching, "searching"},
    {GuardState::Alert, "alert"},
};

constexpr std::pair<Approach, std::string_view> kApproaches[] = {
    {Approach::ServiceCorridor, "SERVICE CORRIDOR"},
    {Approach::StaffDisguise, "STAFF DISGUISE"},
    {Approach::UplinkHack, "SECURITY UPLINK HACK"},
    {Approach::VipBackstage, "VIP BACKSTAGE ENTRY"},
};
static_assert(std::size(kApproaches) == kApproachCount);

constexpr std::pair<Theme, std::string_view> kThemes[] = {
    {Theme::Casino, "casino"},
    {Theme::Embassy, "embassy"},
    {Theme::Laboratory, "laboratory"},
    {Theme::Archive, "archive"},
};

constexpr std::pair<ObjectiveType, std::string_view> kObjectiveTypes[] = {
    {ObjectiveType::None, ""},
    {ObjectiveType::Courier, "courier"},
    {ObjectiveType::Informant, "informant"},
    {ObjectiveType::SabotageNode, "sabotage_node"},
    {ObjectiveType::EvidenceBurn, "evidence_burn"},
    {ObjectiveType::OptionalIntel, "optional_intel"},
};

template <typename Enum, std::size_t N>
const std::string_view* textOf(const std::pair<Enum, std::string_view> (&table)[N], Enum value) {
    for (const auto& [each, text] : table) {
        if (each == value) return &text;
    }
    return nullptr;
}

template <typename Enum, std::size_t N>
Enum valueOf(const std::pair<Enum, std::string_view> (&table)[N], std::string_view text,
             Enum otherwise) {
    for (const auto& [value, each] : table) {
        if (each == text) return value;
    }
    return otherwise;
}

}  // namespace

std::string_view guardStateName(GuardState state) {
    const std::string_view* text = textOf(kGuardStates, state);
    return text ? *text : std::string_view();
}

std::string_view approachName(Approach approach) {
    const std::string_view* text = textOf(kApproaches, approach);
    return text ? *text : kApproaches[0].second;
}

Theme themeNamed(std::string_view text) {
    return valueOf(kThemes, text, Theme::Other);
}

ObjectiveType objectiveTypeNamed(std::string_view text) {
    return valueOf(kObjectiveTypes, text, ObjectiveType::Other);
}

std::string themeText(Theme theme, const std::string& otherSpelling) {
    const std::string_view* text = textOf(kThemes, theme);
    return text ? std::string(*text) : otherSpelling;
}

std::string objectiveTypeText(ObjectiveType type, const std::string& otherSpelling) {
    const std::string_view* text = textOf(kObjectiveTypes, type);
    return text ? std::string(*text) : otherSpelling;
}

}  // namespace nj
