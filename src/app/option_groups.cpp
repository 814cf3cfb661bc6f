#include "app/option_groups.h"

namespace lumbra {

namespace {
constexpr Element kIdentifyDecoration[] = {Element::IdentifyFrame, Element::IdentifyCaption, Element::HelpButtonA};
constexpr Element kIdentifyOptions[] = {Element::UsePartitionTable, Element::SearchPartition};
constexpr Element kRangeGroup[] = {Element::RangeCaption, Element::RangeFrame, Element::StartCaption,
                                   Element::EndCaption,   Element::StartField, Element::EndField,
                                   Element::HelpButtonB};
}  // namespace

void ShowIdentifyGroup(View& view) {
    for (Element element : kIdentifyDecoration) view.Show(element);
    for (Element element : kIdentifyOptions) {
        view.Show(element);
        view.Enable(element);
    }
}

void HideIdentifyGroup(View& view) {
    for (Element element : kIdentifyDecoration) view.Hide(element);
    for (Element element : kIdentifyOptions) {
        view.Disable(element);
        view.Hide(element);
    }
}

void ShowRangeGroup(View& view) {
    for (Element element : kRangeGroup) view.Show(element);
}

void HideRangeGroup(View& view) {
    for (Element element : kRangeGroup) view.Hide(element);
}

}  // namespace lumbra
