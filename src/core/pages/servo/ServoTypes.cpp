#include "core/pages/servo/ServoTypes.h"

namespace hz::pages::servo {

namespace {

constexpr std::array<const char*, 4> kFourAddresses{"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"};
constexpr std::array<const char*, 4> kButtons12{"Taster 1 close", "Taster 1 open", "Taster 2 close", "Taster 2 open"};
constexpr std::array<const char*, 4> kButtons34{"Taster 3 close", "Taster 3 open", "Taster 4 close", "Taster 4 open"};
constexpr const char* kKornelchenTable = "Kornelchen: Adressen 01 bis 04, Servo 1, Taster 3 und 4";

constexpr ServoType kTypes[] = {
    {kKornel4Identifier, true, false, kFourAddresses, kButtons12,
     "Kornel-4: Adressen 01 bis 08 mit Servo und Relais, Servos 1 bis 4, Taster 1 und 2"},
    {0xD2, false, false, kFourAddresses, kButtons34, kKornelchenTable},
    {0x1D2, false, true, kFourAddresses, kButtons34, kKornelchenTable},
    {0x7DD2, false, true, kFourAddresses, kButtons34, kKornelchenTable},
    // The function-decoder firmware listens to two addresses, each with an on and an off command.
    {0x4200,
     false,
     false,
     {"Adresse 01 ein", "Adresse 01 aus", "Adresse 02 ein", "Adresse 02 aus"},
     kButtons34,
     "Kornelchen F-Dekoder: Adressen 01 und 02 ein/aus, Servo 1, Taster 3 und 4"},
};

} // namespace

const ServoType& ServoTypeFor(int identifier)
{
    for (const ServoType& t : kTypes)
        if (t.identifier == identifier)
            return t;
    return kTypes[0];
}

} // namespace hz::pages::servo
