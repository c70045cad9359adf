#include "HandWriter.h"

#include <charconv>

#include "CivilTime.h"

namespace pkrsim {

namespace {

constexpr const char* kEol = "\r\n";
constexpr const char* kStreetNames[] = {"", "Flop", "Turn", "River"};
constexpr int kFirstBoardCard[] = {0, 0, 3, 4};
constexpr int kBoardCards[] = {0, 3, 1, 1};

class CHandText {
public:
    CHandText(std::string& out, const sTableConfig& table, const sHandRecord& hand,
              const CPlayerPool& pool, bool laterFormat)
        : m_out(out), m_table(table), m_hand(hand), m_pool(pool), m_later(laterFormat) {}

    void Write() {
        Header();
        SeatLines(false);
        Line("Shuffling Deck");
        Text("Moving Button to seat ");
        Number(m_hand.button);
        Eol();
        for (const sHandEvent& event : m_hand.events) {
            Event(event);
        }
        SeatLines(true);
        Text(m_later ? "End of Hand #" : "End Of Hand #");
        Number(m_hand.handNumber);
        Eol();
        Eol();
    }

private:
    void Header() {
        Text("Table #");
        Number(m_table.tableNumber);
        Text(" - ");
        Line(m_table.name);
        Text("Starting Hand #");
        Number(m_hand.handNumber);
        Eol();
        Text("Start time of hand: ");
        AppendHandTime(m_out, m_hand.startTime);
        Eol();
        if (m_hand.lastHandNumber == 0) {
            Line("Last Hand n/a");
        } else {
            Text("Last Hand #");
            Number(m_hand.lastHandNumber);
            Eol();
        }
        Line(m_table.game == GAME_OMAHA ? "Game Type: OMAHA" : "Game Type: HOLD'EM");
        switch (m_table.betting) {
            case eBetting::NoLimit:
                Line("Limit Type: NO LIMIT");
                break;
            case eBetting::PotLimit:
                Line("Limit Type: POT LIMIT");
                break;
            case eBetting::FixedLimit:
                Line("Limit Type: LIMIT");
                break;
        }
        const bool tournament = m_table.money == eMoney::TournamentChips;
        Line(tournament ? "Table Type: TOURNAMENT" : "Table Type: RING");
        switch (m_table.money) {
            case eMoney::Real:
                Line("Money Type: REAL MONEY");
                break;
            case eMoney::Play:
                Line("Money Type: PLAY MONEY");
                break;
            case eMoney::TournamentChips:
                Line("Money Type: TOURNAMENT CHIPS");
                break;
        }
        AppendBlindsLine(m_out, m_table, m_hand.smallBlind, m_hand.bigBlind, m_later);
        Eol();
        Text("Button is at seat ");
        Number(m_hand.previousButton);
        Eol();
    }

    void SeatLines(bool after) {
        for (const sHandSeat& seat : m_hand.seats) {
            Text("Seat ");
            Number(seat.seatNumber);
            Text(": ");
            Text(Name(seat));
            Text(" - ");
            Money(after ? seat.stackAfter : seat.stackBefore);
            if (!seat.dealtIn && !after) {
                Text(" (away from table)");
            }
            Eol();
        }
    }

    void Event(const sHandEvent& event) {
        const sHandSeat& seat = m_hand.seats[event.seat];
        switch (event.kind) {
            case eEvent::PostSmallBlind:
            case eEvent::PostBigBlind:
                Text(Name(seat));
                Text(event.kind == eEvent::PostSmallBlind ? " posts small blind ("
                                                          : " posts big blind (");
                Money(event.amount);
                Line(")");
                if (event.kind == eEvent::PostBigBlind) {
                    DealingCards();
                }
                break;
            case eEvent::Act:
                Action(event, seat);
                break;
            case eEvent::ReturnUncalled:
                Text("Returning ");
                Money(event.amount);
                Text(" to ");
                Text(Name(seat));
                Line(" uncalled");
                break;
            case eEvent::PotSizes:
                if (m_later) {
                    Text("Pot sizes: ");
                    Money(event.amount);
                    Eol();
                }
                break;
            case eEvent::DealStreet:
                Text("Dealing ");
                Text(kStreetNames[event.street]);
                Text(" ");
                for (int i = 0; i < kBoardCards[event.street]; ++i) {
                    AppendCard(m_out, m_hand.board[kFirstBoardCard[event.street] + i], m_later);
                }
                Eol();
                break;
            case eEvent::Shows:
                Text(Name(seat));
                Text(" shows ");
                HoleCards(seat);
                Eol();
                break;
            case eEvent::Has:
                Text(Name(seat));
                Text(" has ");
                AppendHandDescription(m_out, event.handValue);
                Eol();
                break;
            case eEvent::Mucks:
                Text(Name(seat));
                Line(" mucks");
                break;
            case eEvent::DoesNotShow:
                Text(Name(seat));
                Line(" doesn't show");
                break;
            case eEvent::Rake:
                Text("Taking Rake of ");
                Money(event.amount);
                Line(" from pot 1");
                break;
            case eEvent::Wins:
                Text(Name(seat));
                Text(" wins ");
                Money(event.amount);
                if (event.pot > 0) {
                    Text(" from side pot #");
                    Number(event.pot);
                }
                if (event.withHand) {
                    Text(" with: ");
                    AppendHandDescription(m_out, event.handValue);
                }
                Eol();
                break;
        }
    }

    void Action(const sHandEvent& event, const sHandSeat& seat) {
        Text(Name(seat));
        switch (event.action) {
            case eAction::Fold:
                Text(" folds");
                break;
            case eAction::Check:
                Text(" checks");
                break;
            case eAction::Call:
                Text(" calls ");
                Money(event.amount);
                break;
            case eAction::Bet:
                Text(" bets ");
                Money(event.amount);
                break;
            case eAction::Raise:
                Text(" raises to ");
                Money(event.amount);
                break;
        }
        if (event.allIn) {
            Text(" (all-in)");
        }
        Eol();
    }

    void DealingCards() {
        Line("Dealing Cards");
        for (const sHandSeat& seat : m_hand.seats) {
            if (seat.player == 0 && seat.dealtIn) {
                Text("Dealing ");
                HoleCards(seat);
                Text(" to ");
                Line(Name(seat));
            }
        }
    }

    void HoleCards(const sHandSeat& seat) {
        const int count = m_table.game == GAME_OMAHA ? 4 : 2;
        for (int i = 0; i < count; ++i) {
            AppendCard(m_out, seat.hole[i], m_later);
        }
    }

    const std::string& Name(const sHandSeat& seat) const { return m_pool.Name(seat.player); }
    void Text(std::string_view text) { m_out.append(text); }
    void Line(std::string_view text) {
        m_out.append(text);
        m_out.append(kEol);
    }
    void Eol() { m_out.append(kEol); }
    void Money(int64_t amount) { AppendMoney(m_out, amount, m_table.money); }
    void Number(uint64_t value) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof(digits), value);
        m_out.append(digits, result.ptr);
    }

    std::string& m_out;
    const sTableConfig& m_table;
    const sHandRecord& m_hand;
    const CPlayerPool& m_pool;
    const bool m_later;
};

}  // namespace

void AppendHandText(std::string& out, const sTableConfig& table, const sHandRecord& hand,
                    const CPlayerPool& pool, bool laterFormat) {
    CHandText(out, table, hand, pool, laterFormat).Write();
}

}  // namespace pkrsim
