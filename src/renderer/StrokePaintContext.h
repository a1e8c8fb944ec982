#pragma once
// What a stroke record needs to paint itself. Unimplemented: the stroke painter fills this in
// when it arrives; until then it carries nothing and records cannot paint.

namespace vml {

struct StrokePaintContext {};

}  // namespace vml
