#include "scene/prop_fields.h"

namespace kw::props {

TPropValue GetKey(const TKwElement& e) { return int64_t(e.Key); }
void SetKey(TKwElement& e, const TPropValue& v) { e.Key = int32_t(PropInt(v)); }
TPropValue GetId(const TKwElement& e) { return e.Id; }
void SetId(TKwElement& e, const TPropValue& v) { e.Id = PropString(v); }
TPropValue GetX(const TKwElement& e) { return int64_t(e.X()); }
void SetX(TKwElement& e, const TPropValue& v) { e.SetX(int32_t(PropInt(v))); }
TPropValue GetY(const TKwElement& e) { return int64_t(e.Y()); }
void SetY(TKwElement& e, const TPropValue& v) { e.SetY(int32_t(PropInt(v))); }
TPropValue GetVis(const TKwElement& e) { return int64_t(e.Vis); }
void SetVis(TKwElement& e, const TPropValue& v) { e.SetVis(TBool8(PropInt(v))); }
TPropValue GetOrder(const TKwElement& e) { return int64_t(e.Order()); }
void SetOrder(TKwElement& e, const TPropValue& v) { e.SetOrder(int32_t(PropInt(v))); }

}  // namespace kw::props
