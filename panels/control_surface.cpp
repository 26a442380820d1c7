// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/control_surface.h"

namespace taxcalc {

std::string_view EntryName(Entry entry) noexcept {
    switch (entry) {
        case Entry::Text2:
            return "Text2";
        case Entry::Text3:
            return "Text3";
        case Entry::Text4:
            return "Text4";
        case Entry::Text5:
            return "Text5";
    }
    return {};
}

std::string_view LabelName(Label label) noexcept {
    switch (label) {
        case Label::Label4:
            return "Label4";
        case Label::Label5:
            return "Label5";
        case Label::Label6:
            return "Label6";
        case Label::Label14:
            return "Label14";
        case Label::Label16:
            return "Label16";
        case Label::Label17:
            return "Label17";
        case Label::Label18:
            return "Label18";
        case Label::Label19:
            return "Label19";
        case Label::Label20:
            return "Label20";
        case Label::Label23:
            return "Label23";
        case Label::Label26:
            return "Label26";
        case Label::Label28:
            return "Label28";
        case Label::Label29:
            return "Label29";
        case Label::Label34:
            return "Label34";
    }
    return {};
}

}  // namespace taxcalc
