// Operations whose family is not built yet (interface/unbuilt.h) answer 2 on both backends.
#include "interface/unbuilt.h"
#include "genicam/CTQVSDKGenICam.h"
#include "ptree/CTQVSDKPTree.h"

#define TQV_UNBUILT_DEFINITIONS(name, params)                 \
  u32 CTQVSDKPTree::name params { return rc::kNotSupported; } \
  u32 CTQVSDKGenICam::name params { return rc::kNotSupported; }

// The parameters are unnamed-in-use; silence the warnings of this file only.
#pragma GCC diagnostic ignored "-Wunused-parameter"

#define TQV_OP(name, params, args) \
  TQV_IF(TQV_IN_SET(UNBUILT, name))(TQV_UNBUILT_DEFINITIONS(name, params), )
#include "interface/operations.def"
