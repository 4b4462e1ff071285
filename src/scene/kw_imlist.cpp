#include "scene/kw_imlist.h"

#include <algorithm>

#include "scene/class_registry.h"
#include "scene/prop_fields.h"

namespace kw {

TKwImList::TKwImList(TKwElement* parent) : TKwElement(parent) { NoMsKwDB = 1; }

void TKwImList::RecomputeCells() {
  if (ColCount == 0 || RowCount == 0) {
    ElWidth = ElHeight = 0;
    return;
  }
  // 64-bit so that hostile counts cannot overflow.
  const int64_t w = (int64_t(SizeX) - (int64_t(ColCount) - 1) * Space) / ColCount;
  const int64_t h = (int64_t(SizeY) - (int64_t(RowCount) - 1) * Space) / RowCount;
  ElWidth = int32_t(std::clamp<int64_t>(w, 0, INT32_MAX));
  ElHeight = int32_t(std::clamp<int64_t>(h, 0, INT32_MAX));
}

namespace {

TKwImList& Il(TKwElement& e) { return static_cast<TKwImList&>(e); }
const TKwImList& Il(const TKwElement& e) { return static_cast<const TKwImList&>(e); }

// A grid field whose write recomputes the cells.
template <int32_t TKwImList::*Field>
void SetGrid(TKwElement& e, const TPropValue& v) {
  Il(e).*Field = int32_t(PropInt(v));
  Il(e).RecomputeCells();
}

const TPropInfo kImListProps[] = {
    KW_BASE_PROPS,
    {"RowCount", TPropType::Int, props::GetField<TKwImList, &TKwImList::RowCount>, SetGrid<&TKwImList::RowCount>},
    {"ColCount", TPropType::Int, props::GetField<TKwImList, &TKwImList::ColCount>, SetGrid<&TKwImList::ColCount>},
    {"Space", TPropType::Int, props::GetField<TKwImList, &TKwImList::Space>, SetGrid<&TKwImList::Space>},
    {"ScrollPos", TPropType::Int,
     [](const TKwElement& e) -> TPropValue { return int64_t(Il(e).ScrollRow) * Il(e).ColCount; },
     [](TKwElement& e, const TPropValue&) { Il(e).ScrollRow = 0; }},
    {"SizeX", TPropType::Int, props::GetField<TKwImList, &TKwImList::SizeX>, SetGrid<&TKwImList::SizeX>},
    {"SizeY", TPropType::Int, props::GetField<TKwImList, &TKwImList::SizeY>, SetGrid<&TKwImList::SizeY>},
    {"ElWidth", TPropType::Int, props::GetField<TKwImList, &TKwImList::ElWidth>, [](TKwElement&, const TPropValue&) {}},
    {"ElHeight", TPropType::Int, props::GetField<TKwImList, &TKwImList::ElHeight>, [](TKwElement&, const TPropValue&) {}},
    KW_FIELD(TKwImList, "Scale", Real, Scale),
    KW_BASE_SCRIPT("exInit", esInit),
    KW_BASE_SCRIPT("exAfterLoad", esAfterLoad),
    KW_BASE_SCRIPT("exUpdate", esUpdate),
    KW_BASE_SCRIPT("exProcess", esProcess),
    KW_ORDER,
    KW_BASE_SCRIPT("exVarRS", esVarRS),
    KW_FIELD(TKwImList, "Tag", String, Tag),
    KW_FIELD(TKwImList, "NotSave", Bool, NotSave),
    KW_BASE_SCRIPT("exMouseIn", esMouseIn),
    KW_BASE_SCRIPT("exMouseOut", esMouseOut),
    KW_BASE_SCRIPT("exMouseDown", esMouseDown),
};
static_assert(std::size(kImListProps) == 25);

}  // namespace

TPropTable ImListProperties() { return kImListProps; }

}  // namespace kw
