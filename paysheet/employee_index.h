// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace taxcalc {

// The people of a file by their keys, each numbered as first met, for a mode whose
// rows link the months of one person. Open addressing over a power-of-two table that
// keeps each key's hash beside its number, and the keys themselves back to back: a
// million rows find their person without a visit to the rows that named them before.
class EmployeeIndex {
public:
    // Room for `employees` before the table grows.
    explicit EmployeeIndex(std::size_t employees);

    // The key's number, from 0: a new key takes the next.
    std::uint32_t NumberOf(std::string_view key);
    std::size_t Size() const noexcept { return m_ends.size(); }

    // Asks the system to back [start, start + bytes) with huge pages where it offers
    // them: a table of a million rows' contexts, written in file order and then visited
    // person by person, meets far fewer faults and misses of the page tables. Only the
    // whole huge pages inside the range are asked for; nothing happens where none fits.
    static void AskForHugePages(void *start, std::size_t bytes) noexcept;

private:
    static constexpr std::uint32_t kEmpty = std::numeric_limits<std::uint32_t>::max();
    struct Slot {
        std::uint32_t Hash = 0;
        std::uint32_t Number = kEmpty;
    };

    std::string_view Key(std::uint32_t number) const noexcept;
    void Grow();

    std::vector<Slot> m_slots;
    std::string m_text;               // every key, back to back
    std::vector<std::size_t> m_ends;  // where each key ends in m_text
};

}  // namespace taxcalc
