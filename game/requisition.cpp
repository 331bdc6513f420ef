// Requisition: the perks NIA intel buys on the dossier, and the dossier's
// requisition list the keys and the page walk. Writes intelBudget, the perk
// flags, requisitionOpen and requisitionChoice, the banner and save.dat.
#include <array>

#include "game/game.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

constexpr float kRequisitionBannerSeconds = 1.6f;

// In save order. Priced so that a campaign's wins pay for them one after
// another: the cheapest after the first win (200 to start, at least 150 a
// win), the dearest by the last operation of a run that takes some intel;
// a bare campaign of four plain wins (800) still buys two.
constexpr std::array<PerkOffer, kPerkCount> kPerkOffers = {{
    {"SLOW DETECTION", "Guards and cameras take a quarter longer to identify you.", "SD", 450},
    {"SOFT STEP", "Sneak faster, and your footsteps carry half as far.", "SS", 350},
    {"SAFE ASSIST", "Safe tumblers turn slower and their gold windows are wider.", "SA", 250},
}};

// The owned flag of each perk, in save order.
constexpr std::array<std::uint8_t Game::*, kPerkCount> kPerkFlags = {
    &Game::perkSlowDetection, &Game::perkSoftStep, &Game::perkSafeAssist};

}  // namespace

const std::array<PerkOffer, kPerkCount>& perkOffers() {
    return kPerkOffers;
}

bool Game::perkOwned(std::size_t index) const {
    return index < kPerkCount && this->*kPerkFlags[index] != 0;
}

Purchase Game::buyPerk(std::uint64_t index) {
    if (gameState != GameState::Briefing) return Purchase::NotOnDossier;  // only the dossier sells
    if (index >= kPerkCount) return Purchase::NoSuchPerk;
    const PerkOffer& offer = kPerkOffers[index];
    if (perkOwned(index)) {
        playCue(CueBuzz);
        showBanner(std::string(offer.name) + " IS ALREADY YOURS", kRequisitionBannerSeconds, kRuby);
        return Purchase::AlreadyOwned;
    }
    if (intelBudget < offer.price) {
        playCue(CueBuzz);
        showBanner("REQUISITION REFUSED // " + std::to_string(offer.price - intelBudget) +
                       " MORE NIA INTEL NEEDED FOR " + offer.name,
                   kRequisitionBannerSeconds, kRuby);
        return Purchase::TooLittleIntel;
    }
    intelBudget -= offer.price;
    this->*kPerkFlags[index] = 1;
    // Bought with campaign intel, kept with campaign progress (the built-in
    // mission alone saves nothing).
    if (!campaignMaps.empty()) writeSave();
    playCue(CueChime);
    showBanner("REQUISITIONED: " + std::string(offer.name), kRequisitionBannerSeconds, kEmerald);
    return Purchase::Bought;
}

static_assert(kPerkCount == 3,
              "a recorded run names each perk's purchase (RunAction::BuyPerk0..2)");

void Game::buyPerkFromPage(double perkIndexArg) {
    // No such perk buys nothing and says nothing; a purchase goes through
    // act(), so a run waiting on the dossier records it.
    const std::int64_t index = saturatingTruncate<std::int64_t>(perkIndexArg);
    if (index < 0 || index >= static_cast<std::int64_t>(kPerkCount)) return;
    act(static_cast<RunAction>(static_cast<std::int64_t>(RunAction::BuyPerk0) + index));
}

void Game::toggleRequisition() {
    if (gameState != GameState::Briefing) return;
    requisitionOpen = !requisitionOpen;
    requisitionChoice = 0;
}

void Game::requisitionKey(std::uint32_t key) {
    switch (key) {
        case vk::kUp:
        case vk::kW:
            requisitionChoice = (requisitionChoice + kPerkCount - 1) % kPerkCount;
            return;
        case vk::kDown:
        case vk::kS:
            requisitionChoice = (requisitionChoice + 1) % kPerkCount;
            return;
        case vk::kEnter:
        case vk::kSpace:
            buyPerk(requisitionChoice);
            return;
        case vk::kQ:
        case vk::kEsc:
        case vk::kP:
            requisitionOpen = false;
            return;
        case vk::kTab:
            requisitionOpen = false;
            openDossier();
            return;
        default:
            return;  // the dossier's other keys wait until the list is closed
    }
}

}  // namespace nj
