// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The web pages that the notes, the promotional labels and the pictures open.
#pragma once

#include <string_view>

namespace taxcalc {

// The central government's published text of the June 2011 decision amending the
// individual income tax law, as Label1 shows it: the way a browser's address bar
// writes it, without the scheme, which leaves it room on the note's last line.
inline constexpr std::string_view DecisionPageShown = "www.gov.cn/flfg/2011-06/30/content_1897373.htm";
inline constexpr std::string_view DecisionPageAddress =
    "https://www.gov.cn/flfg/2011-06/30/content_1897373.htm";
static_assert(DecisionPageAddress.ends_with(DecisionPageShown));
inline constexpr std::string_view AuthorPageAddress = "https://www.chinatax.gov.cn/";
inline constexpr std::string_view DownloadSiteAddress = "https://sourceforge.net/";

// Label1 names the decision and ends with the address that a click on it opens.
// In the standard font it takes three lines of its box at any resolution.
inline constexpr std::string_view LegalBasisNote =
    "1、最新个税计算器的依据是2011年6月《全国人民代表大会常务委员会关于修改〈中华人民共和国个人所得税法〉的决"
    "定》。"
    "特征为3500元起征、7级税率。参考：\r\n"
    "★全国人民代表大会常务委员会关于修改〈中华人民共和国个人所得税法〉的决定："
    "www.gov.cn/flfg/2011-06/30/content_1897373.htm";
static_assert(LegalBasisNote.ends_with(DecisionPageShown));

}  // namespace taxcalc
