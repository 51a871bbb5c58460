// Every refusal has its own message, and each message says what to enter.
#include "messages/messages.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

using wertomat::TabulationRefusal;

TEST(Messages, EachRefusalHasItsOwnRequestToTheUser) {
    constexpr TabulationRefusal kRefusals[] = {TabulationRefusal::EqualStartAndEnd,
                                               TabulationRefusal::RisingRangeNeedsPositiveStep,
                                               TabulationRefusal::FallingRangeNeedsNegativeStep,
                                               TabulationRefusal::NotFinite,
                                               TabulationRefusal::UnknownFunction,
                                               TabulationRefusal::TooManyRows,
                                               TabulationRefusal::TableTooLong};
    std::set<std::string_view> seen;
    for (const TabulationRefusal refusal : kRefusals) {
        const std::string_view message = messages::ForRefusal(refusal);
        EXPECT_TRUE(seen.insert(message).second) << message;
        if (refusal != TabulationRefusal::UnknownFunction) {  // the form's own wording
            EXPECT_NE(message.find("eingeben"), std::string_view::npos) << message;
        }
    }
    EXPECT_EQ(messages::ForRefusal(TabulationRefusal::RisingRangeNeedsPositiveStep),
              "Bitte einen positiven Wert f\xFCr die Schrittweite eingeben");
}

}  // namespace
