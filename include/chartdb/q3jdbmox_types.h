// Types and records of the chart-database API (Q3JDBMOX). Shared by the helper library, which
// calls the API through its wrappers, and by the chart-database stand-in, which implements it.
//
// Field offsets that callers read are fixed; they are checked below. Pointer fields take eight
// bytes on 64-bit builds, so a record that holds a pointer at its end may be larger than on
// 32-bit builds, but no field that callers read ever moves.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Scalars

using GlResult = std::uint64_t;        // API result: 0 success; error id in bits 0-23
using GlObjectId = std::uint64_t;      // object identifier; 0 = no object
using GlTransactionId = std::uint16_t; // 65535 = outside any transaction
using GlBool = std::int32_t;           // 32-bit boolean of the API
using GlObjectType = std::int32_t;     // IEC object type (IEC_OBJ_*)
using GlSelect = std::uint32_t;        // select filter (IEC_SELECT_*)
using GlDataType = std::int32_t;       // IEC data type (IEC_BOOL ...)

inline constexpr GlTransactionId kNoTransaction = 0xFFFF;

enum MODE : std::int32_t { M_NDEF = 0, M_FIRST = 1, M_NEXT = 2, M_LAST = 3 };

// IEC object types as the chart database reports them.
enum IecObjectTypeValue : GlObjectType {
  IEC_OBJ_RESOURCE = 0,
  IEC_OBJ_FUNCTION_BLOCK_TYPE = 2,
  IEC_OBJ_FUNCTION_TYPE = 3,
  IEC_OBJ_IN_VAR_TYPE = 4,
  IEC_OBJ_OUT_VAR_TYPE = 5,
  IEC_OBJ_IN_OUT_VAR_TYPE = 6,
  IEC_OBJ_GLOBAL_VAR = 7,
  IEC_OBJ_TASK = 8,
  IEC_OBJ_PROCESSING_GROUP = 9,
  IEC_OBJ_CFC = 10,
  IEC_OBJ_FUNCTION_BLOCK = 11,
  IEC_OBJ_FUNCTION = 12,
  IEC_OBJ_IN_VAR = 13,
  IEC_OBJ_OUT_VAR = 14,
  IEC_OBJ_IN_OUT_VAR = 15,
  IEC_OBJ_VAR_TYPE_ELEMENT = 26,
  IEC_OBJ_CFC_IN_VAR = 27,
  IEC_OBJ_CFC_OUT_VAR = 28,
  IEC_OBJ_CFC_IN_OUT_VAR = 29,
  IEC_OBJ_VAR_ELEMENT = 30,
  IEC_OBJ_NULL = 46,
};

enum IecSelectValue : GlSelect {
  IEC_SELECT_ALL = 0,
  IEC_SELECT_TASK_ELEMENTS = 7,
  IEC_SELECT_IS_CFC = 8,
  IEC_SELECT_IS_FUNCTION_BLOCK = 10,
  IEC_SELECT_IS_FUNCTION = 11,
  IEC_SELECT_IS_IN_VAR = 13,
  IEC_SELECT_IS_OUT_VAR = 14,
  IEC_SELECT_IS_IN_OUT_VAR = 15,
};

// Connection types reported by iec_SourcesGetV6_0 (and kept in the connection record).
enum IecConnectionType : std::int32_t {
  IEC_CONNECTION = 1,
  IEC_NO_CONNECTION = 2,
  IEC_TEXTUAL_REF = 3,
};

// IEC data types (value set of a variable's data type).
enum IecDataTypeValue : GlDataType {
  IEC_NDEF = 0,
  IEC_BOOL = 1,
  IEC_BYTE = 2,
  IEC_CHAR = 3,
  IEC_WORD = 4,
  IEC_INT = 5,
  IEC_DWORD = 6,
  IEC_DINT = 7,
  IEC_REAL = 8,
  IEC_DATE = 16,
  IEC_TIME = 17,
  IEC_TOD = 18,
  IEC_Q1TIME = 19,
  IEC_COUNTER = 20,
  IEC_TIMER = 21,
  IEC_DT = 22,
  IEC_STR = 33,
  IEC_POINTER = 34,
  IEC_ANY = 35,
  IEC_ARRAY = 42,
  IEC_STRUCT = 43,
  IEC_END_STRUCT = 44,
  IEC_N_FB = 49,
  IEC_N_FC = 50,
  IEC_N_DB = 51,
  IEC_N_SDB = 52,
  IEC_UDTYPE = 58,
  IEC_Q3STR = 64,
  IEC_SINT = 65,
  IEC_LINT = 66,
  IEC_USINT = 67,
  IEC_UINT = 68,
  IEC_UDINT = 69,
  IEC_ULINT = 70,
  IEC_LREAL = 71,
  IEC_LWORD = 72,
  IEC_TASK = 80,
  IEC_SDTIME = 81,
  IEC_GLOBAL = 82,
};

// Error identifiers that callers rely on.
enum GlErrorIdValue : std::uint32_t {
  GL_ERR_NOT_IN_CHART = 27,                 // iec_BlockCfcGet: the object lies in no chart
  GL_ERR_NO_MORE_ELEMENTS = 36,             // iteration: nothing delivered
  GL_ERR_LAST_ELEMENT = 166,                // iteration: the last element was delivered
  GL_ERR_AS_TASK_INDIRECT = 169,            // gl_ObjectAsTasksGet: delivered through the block's chart
  GL_ERR_UDA_NOT_UPDATED = 223,             // gl_UdaUpdate: nothing to update, tolerated
  GL_ERR_TASK_EXISTS = 0x10003,             // iec_TaskWrite: a task of that name exists
  GL_ERR_UDA_NOT_FOUND = 0x1028D,           // gl_UdaGet, gl_UdaRemove: no such attribute
  GL_ERR_OBJECT_BUSY = 0x20125,             // object locked; try again
  GL_ERR_DATA_VERSION_SUPPRESSED = 0x20147, // data-version update suppressed
  GL_ERR_NOT_AVAILABLE = 0x201EA,           // binding layer: library or function not available
};

// ---------------------------------------------------------------------------------------------
// Records

#pragma pack(push, 2)

// IEC date and time: milliseconds since midnight, then days since 1984-01-01.
struct IEC_DateAndTime {
  std::uint32_t msOfDay;
  std::uint16_t days;
};
static_assert(sizeof(IEC_DateAndTime) == 6);

// Attributes of a chart interface item (gl_InterfaceItemAttributesGetV6_0).
struct Gl_InterfaceItemAttributes {
  std::uint16_t version;
  std::int32_t flags;
  char name[991];      // offset 6
  char itemText[1027]; // offset 997
};
static_assert(offsetof(Gl_InterfaceItemAttributes, name) == 6);
static_assert(offsetof(Gl_InterfaceItemAttributes, itemText) == 997);

#pragma pack(pop)

// Win32 SYSTEMTIME layout.
struct GlSystemTime {
  std::uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};
static_assert(sizeof(GlSystemTime) == 16);

#pragma pack(push, 4)

// Object descriptor: three (number, kind) pairs. Word 1/2 the object, word 3/4 the controller,
// word 5/6 the controller family and the object's category.
struct GlObjectDescriptor {
  std::uint32_t word[6];
};
static_assert(sizeof(GlObjectDescriptor) == 24);

struct GlProperties {
  char name[52];
  char author[257];
  char comment[257]; // offset 309
  std::int32_t objectType;
  IEC_DateAndTime created;
  IEC_DateAndTime modified;
  char family[40];
};
static_assert(offsetof(GlProperties, name) == 0);
static_assert(offsetof(GlProperties, comment) == 309);
static_assert(sizeof(GlProperties) == 624);

struct Gl_Uda {
  char name[25];
  char value[255]; // offset 25
};
static_assert(offsetof(Gl_Uda, value) == 25);
static_assert(sizeof(Gl_Uda) == 280);

// Controller of an object (gl_CpuIdGet).
struct OutCpu {
  char name[52];
  std::uint32_t family;
  std::uint32_t number;
  char typeName[52];
};

// Run-sequence place of a block (gl_ObjectAsTasksGet).
struct Gl_RunSeqRecord {
  char taskName[600];    // offset 0
  std::int16_t grPos;    // offset 600: position of the processing group in its task
  std::int16_t blockPos; // offset 602: position of the block in its group
  std::int32_t reserved;
};
static_assert(offsetof(Gl_RunSeqRecord, grPos) == 600);
static_assert(offsetof(Gl_RunSeqRecord, blockPos) == 602);

struct Iec_Resource {
  char name[52];
  char typeName[52];
  std::uint32_t family;
  std::uint32_t number;
  char comment[176];
};
static_assert(offsetof(Iec_Resource, name) == 0);
static_assert(sizeof(Iec_Resource) == 288);

struct Iec_Task {
  char name[24];
  std::int32_t taskKind;
  std::int32_t cycleTimeMs;
  std::int32_t priority;
  char description[68];
};
static_assert(offsetof(Iec_Task, name) == 0);
static_assert(sizeof(Iec_Task) == 104);

struct Iec_ProcessingGroup {
  char name[23];
  char comment[81];        // offset 23
  std::uint16_t reduction; // offset 104
  std::uint16_t phase;     // offset 106
};
static_assert(offsetof(Iec_ProcessingGroup, comment) == 23);
static_assert(offsetof(Iec_ProcessingGroup, reduction) == 104);
static_assert(offsetof(Iec_ProcessingGroup, phase) == 106);
static_assert(sizeof(Iec_ProcessingGroup) == 108);

struct Iec_Cfc {
  char name[52];
  char comment[240];
  std::int32_t isRoot;
  std::int32_t depth;
};
static_assert(offsetof(Iec_Cfc, name) == 0);
static_assert(sizeof(Iec_Cfc) == 300);

struct Iec_GlobalVar {
  char name[50];
  char text[82];            // offset 50
  std::int32_t dataType;    // offset 132
  std::uint32_t attributes; // offset 136
};
static_assert(offsetof(Iec_GlobalVar, text) == 50);
static_assert(offsetof(Iec_GlobalVar, dataType) == 132);
static_assert(offsetof(Iec_GlobalVar, attributes) == 136);
static_assert(sizeof(Iec_GlobalVar) == 140);

struct Iec_FunctionBlockType {
  char name[52];
  char library[52];
  std::int32_t version;
  std::int32_t parameterCount;
  std::int32_t fbTypeFlag; // offset 112
  char family[36];
};
static_assert(offsetof(Iec_FunctionBlockType, fbTypeFlag) == 112);
static_assert(sizeof(Iec_FunctionBlockType) == 152);

struct Iec_FunctionType {
  char name[52];
  char library[52];
  std::int32_t version;
  std::int32_t parameterCount;
  char family[36];
};
static_assert(sizeof(Iec_FunctionType) == 148);

struct Iec_InVarType {
  char name[52];
  char comment[52];
  std::int32_t position;
  std::int32_t dataType; // offset 108
  char defaultValue[257];
  char reserved[31];
  Iec_InVarType* next; // offset 400
};
static_assert(offsetof(Iec_InVarType, dataType) == 108);
static_assert(offsetof(Iec_InVarType, next) == 400);
static_assert(sizeof(Iec_InVarType) == 408);

struct Iec_OutVarType {
  char name[52];
  char comment[52];
  std::int32_t position;
  std::int32_t dataType; // offset 108
  char defaultValue[257];
  char reserved[23];
  Iec_OutVarType* next; // offset 392
};
static_assert(offsetof(Iec_OutVarType, dataType) == 108);
static_assert(offsetof(Iec_OutVarType, next) == 392);
static_assert(sizeof(Iec_OutVarType) == 400);

using Iec_InOutVarType = Iec_InVarType;

struct Iec_VarTypeElement {
  char name[52];
  char comment[52];
  std::int32_t position;
  std::int32_t dataType; // offset 108
  std::int32_t nestingLevel;
  Iec_VarTypeElement* firstNested; // offset 116
  char defaultValue[256];
  Iec_VarTypeElement* next; // offset 380
};
static_assert(offsetof(Iec_VarTypeElement, dataType) == 108);
static_assert(offsetof(Iec_VarTypeElement, firstNested) == 116);
static_assert(offsetof(Iec_VarTypeElement, next) == 380);
static_assert(sizeof(Iec_VarTypeElement) >= 384);

// Parameter of a placed block (iec_InVarRead, iec_OutVarRead, iec_InOutVarRead).
struct Iec_Var {
  char name[52];
  std::int32_t position;
  std::int32_t dataType;
  std::int32_t flags;
  std::int32_t connected;
  std::int32_t visible;
  std::int32_t reserved1[5];
  char value[257]; // offset 92
  char reserved2[259];
};
static_assert(offsetof(Iec_Var, value) == 92);
static_assert(sizeof(Iec_Var) == 608);
using Iec_InVar = Iec_Var;
using Iec_OutVar = Iec_Var;
using Iec_InOutVar = Iec_Var;

struct Iec_VarIdent {
  char name[23];
  char text[42]; // offset 23
};
static_assert(offsetof(Iec_VarIdent, text) == 23);
static_assert(sizeof(Iec_VarIdent) == 65);

// Interface variable of a chart (iec_CfcInVarRead, iec_CfcInOutVarRead).
struct Iec_CfcInVar {
  char name[52];
  char comment[56];
  std::int32_t dataType; // offset 108
  std::int32_t position;
  std::int32_t flags;
  std::int32_t reserved1[4];
  char value[257]; // offset 136
  char reserved2[263];
};
static_assert(offsetof(Iec_CfcInVar, dataType) == 108);
static_assert(offsetof(Iec_CfcInVar, value) == 136);
static_assert(sizeof(Iec_CfcInVar) == 656);
using Iec_CfcInOutVar = Iec_CfcInVar;

struct Iec_CfcOutVar {
  char name[52];
  char comment[56];
  std::int32_t dataType; // offset 108
  std::int32_t position;
  std::int32_t flags;
  char reserved[272];
};
static_assert(offsetof(Iec_CfcOutVar, dataType) == 108);
static_assert(sizeof(Iec_CfcOutVar) == 392);

// Element of a structured variable (iec_VarElementRead).
struct Iec_VarElement {
  char name[52];
  char comment[56];
  std::int32_t dataType; // offset 108
  std::int32_t position;
  std::int32_t nestingLevel;
  char value[257]; // offset 120
  char reserved[263];
};
static_assert(offsetof(Iec_VarElement, dataType) == 108);
static_assert(offsetof(Iec_VarElement, value) == 120);
static_assert(sizeof(Iec_VarElement) == 640);

// Connection record delivered by the source and sink listings and passed to iec_Connect.
struct Iec_Connection {
  std::int32_t connectionType; // IecConnectionType
  GlBool flag;
  char textualRef[513];
};

#pragma pack(pop)

// Set of objects touched by a transaction (gl_ObjectSetGet); owned by the chart database and
// valid until the transaction ends.
struct GlObjectSetTag;
using GlObjectSet = GlObjectSetTag*;

// Text buffer sizes of the API.
inline constexpr std::size_t kGlNameSize = 52;
inline constexpr std::size_t kGlTextSize = 257;
inline constexpr std::size_t kGlVersionSize = 52;
