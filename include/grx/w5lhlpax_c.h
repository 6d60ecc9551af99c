/* The C interface of the helper library w5lhlpax: one function for each export of its export
   table, with plain C types, for hosts built with any compiler and for other languages.
   Written by `grx exports --c-header` from include/grx/w5lhlpax_exports.def; do not edit.

   Every function answers an int: the export's result (1 or 0 for yes and no). Texts are
   zero-terminated in the code page of the project (Windows-1252). What the library allocates
   (texts, lists) the caller releases with the grx_free_ function of its kind. When a function
   fails it answers 0 and grx_last_error() says why (an exception of the library, a missing
   argument); every call clears the text first, so an empty text after a call means it did not
   fail. The text belongs to the calling thread and lasts until its next call. */
/* clang-format off */
#ifndef GRX_W5LHLPAX_C_H
#define GRX_W5LHLPAX_C_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t grx_id;           /* an object of the chart database; 0 is none */
typedef uint16_t grx_transaction;  /* a transaction; 0xFFFF is none */
typedef uintptr_t grx_window;      /* a window of the host; 0 is none */
typedef int32_t grx_data_type;     /* an IEC data type */

#define GRX_NO_TRANSACTION ((grx_transaction)0xFFFF)

/* An interface item of a chart. */
typedef struct grx_block {
  char* name;
  grx_id id;
} grx_block;

/* An interface parameter with the texts of its attribute record. */
typedef struct grx_param {
  char* name;
  char* item_text;
  grx_id id;
} grx_param;

/* One use of a global variable. kind: 0 the variable reads the global, 1 it writes it. */
typedef struct grx_find {
  char* location;
  char* global_var_name;
  char* root_chart_name;
  int32_t kind;
  grx_id root_chart_id;
  grx_id var_id;
  grx_id global_var_id;
} grx_find;

/* A block with its processing group and run-sequence places (tp_name: the task's name). */
typedef struct grx_move_block {
  grx_id block_id;
  grx_id proc_group_id;
  int16_t block_pos;
  int16_t gr_pos;
  char tp_name[28];
} grx_move_block;

/* Chains of parameter-type records and structure element lists, as the chart database keeps them. */
#pragma pack(push, 4)
typedef struct grx_in_var_type {
  char name[52];
  char comment[52];
  int32_t position;
  grx_data_type data_type;
  char default_value[257];
  char reserved[31];
  struct grx_in_var_type* next;
} grx_in_var_type;

typedef struct grx_out_var_type {
  char name[52];
  char comment[52];
  int32_t position;
  grx_data_type data_type;
  char default_value[257];
  char reserved[23];
  struct grx_out_var_type* next;
} grx_out_var_type;

typedef struct grx_var_type_element {
  char name[52];
  char comment[52];
  int32_t position;
  grx_data_type data_type;
  int32_t nesting_level;
  struct grx_var_type_element* first_nested;
  char default_value[256];
  struct grx_var_type_element* next;
} grx_var_type_element;
#pragma pack(pop)

/* Why the calling thread's last call failed; "" when it did not. */
const char* grx_last_error(void);

/* Releasing what the library allocated (each takes NULL). */
void grx_free_text(char* text);
void grx_free_texts(char** texts, size_t count);
void grx_free_ids(grx_id* ids);
void grx_free_blocks(grx_block* blocks, size_t count);
void grx_free_params(grx_param* params, size_t count);
void grx_free_finds(grx_find* finds, size_t count);
void grx_free_move_blocks(grx_move_block* blocks);

/* Transactions of the chart database: begin one (inside prev, or GRX_NO_TRANSACTION), commit or
   abort it. 1 on success. */
int grx_transaction_begin(grx_transaction prev, grx_transaction* transaction);
int grx_transaction_commit(grx_transaction transaction);
int grx_transaction_abort(grx_transaction transaction);

/* ---- TypeQueries */

/* W5GRX_IsSimpleType: Looks an elementary type up by name (upper-cased, at most 95 characters): its
   ES type code and IEC data type; 0xFFFFFFFF and 0 when there is none. */
int grx_IsSimpleType(const char* name, uint32_t* esType, grx_data_type* iecType);

/* W5GRX_CanCast: Whether a value of the source IEC data type may be connected to the target type. */
int grx_CanCast(const grx_data_type* from, const grx_data_type* to);

/* W5GRX_IECType_FromES: The IEC data type of an ES type: class 0 by the ES type code, 1 DINT, 2, 3
   and 6 STRUCT; other classes answer false and leave iecType alone. */
int grx_IECType_FromES(int32_t typeClass, uint32_t esType, grx_data_type* iecType);

/* W5GRX_CountInVarTypes: The number of records of a chain of input parameter types (0 for none); a
   chain that comes back to a record ends there. */
int grx_CountInVarTypes(const grx_in_var_type* first);

/* W5GRX_CountOutVarTypes: The number of records of a chain of output parameter types (0 for none);
   a chain that comes back to a record ends there. */
int grx_CountOutVarTypes(const grx_out_var_type* first);

/* W5GRX_CompareStructTypeList: Whether two structure element lists are equal: nested lists, names
   without regard to case and data types, element by element. */
int grx_CompareStructTypeList(const grx_var_type_element* a, const grx_var_type_element* b);

/* ---- VariableQueries */

/* W5GRX_FindConnectedVar: The block parameter behind a chain of chart interface connections
   (isBlockParam true), or the last interface variable of the chain when it ends there; false for
   other objects and for a chain that comes back on itself. */
int grx_FindConnectedVar(grx_id varId, grx_id* foundId, int* isBlockParam, grx_transaction prevTransactionId);

/* W5GRX_TypeNameFromVarId: The IEC data type of a variable (through its connected block parameter)
   and, for block parameters, the type name of the parameter type's blob record; true when the type
   name is not empty (chart variables: when the record was read). */
int grx_TypeNameFromVarId(grx_id objectId, grx_data_type* iecType, char** typeName, int* flag, grx_transaction prevTransactionId);

/* W5GRX_IsProzessAbbild: Whether a text is a process-image address (%I12.3, %QW4, %ib0): its normal
   form, type and direction. */
int grx_IsProzessAbbild(const char* text, char** address, uint32_t* esType, grx_data_type* iecType, char** typeName, int* isInput);

/* W5GRX_NameFromVarId: The display name of an object: OWNER:NAME for block and chart parameters,
   the bare name otherwise. */
int grx_NameFromVarId(grx_id objectId, char** name, grx_transaction prevTransactionId);

/* W5GRX_IsFunctionBlockType: Whether the variable belongs to a function block whose type is of a
   library, program or built-in category (the block type's blob record). */
int grx_IsFunctionBlockType(grx_id varId, grx_transaction prevTransactionId);

/* W5GRX_GetGlobalVarFromVarId: The name and the second text of a global variable. */
int grx_GetGlobalVarFromVarId(grx_id globalVarId, char** name, char** text, grx_transaction prevTransactionId);

/* W5GRX_IsCompatible: Whether the source may feed the sink: code 0 when it may, 4 for a processing
   group fed by something other than BOOL, 1 otherwise; the four leading values are not used and the
   message number is always 0. */
int grx_IsCompatible(int32_t reserved1, int32_t reserved2, int32_t reserved3, int32_t reserved4, grx_id source, grx_id sink, uint16_t* code, int32_t* message, grx_transaction prevTransactionId);

/* ---- PlanNavigation */

/* W5GRX_RootPlanFromName (may fail): Finds the root chart of a controller whose name equals name
   without regard to case; on success chartId is the chart and name (at least 52 bytes) takes the
   name as stored. */
int grx_RootPlanFromName(grx_id cpuId, char* name, size_t name_size, grx_id* chartId, grx_transaction prevTransactionId);

/* W5GRX_RootPlanFromVarOrBlock (may fail): The root chart above a block, a chart or a parameter
   (its owner is asked first); chartId is set to 0 first. False when a call fails or the charts
   above contain each other. */
int grx_RootPlanFromVarOrBlock(grx_id objectId, grx_id* chartId, grx_transaction prevTransactionId);

/* W5GRX_ActivePlanFromTitle (may fail): The root chart named by the title of the window or of a
   window above it ("R1 -- ..."). */
int grx_ActivePlanFromTitle(grx_window window, grx_id cpuId, grx_id* chartId, char** name, grx_transaction prevTransactionId);

/* W5GRX_RootPlansFromCPU (may fail): Appends the names of the controller's root charts. */
int grx_RootPlansFromCPU(grx_id cpuId, char*** names, size_t* names_count, grx_transaction prevTransactionId);

/* W5GRX_RootPlanIDsFromCPU (may fail): Appends the identifiers of the controller's root charts. */
int grx_RootPlanIDsFromCPU(grx_id cpuId, grx_id** ids, size_t* ids_count, grx_transaction prevTransactionId);

/* W5GRX_IsRootPlan (may fail): Whether the chart lies in no other chart. */
int grx_IsRootPlan(grx_id chartId, grx_transaction prevTransactionId);

/* ExistPlan (may fail): Whether the object's name is one of names (exact comparison); false when it
   cannot be read. */
int grx_ExistPlan(grx_id objectId, const char* const* names, size_t names_count);

/* ---- ChartPaths */

/* W5GRX_GetChart (may fail): The chart named by a path "ROOT\SUB\SUB" among the controller's root
   charts; chartId stays unchanged when nothing is found. Raises OpenData::COpenDataException when a
   block listing fails. */
int grx_GetChart(const char* path, grx_id cpuId, grx_id* chartId, grx_transaction prevTransactionId);

/* W5GRX_GetSubChart (may fail): The sub-chart named by a path "SUB\SUB" below a chart; subChartId
   stays unchanged when nothing is found. */
int grx_GetSubChart(grx_id chartId, const char* path, grx_id* subChartId, grx_transaction prevTransactionId);

/* W5GRX_GetSubPlansByPlanID (may fail): Appends every sub-chart at every depth, each followed by
   its own; the count, -1 on failure. */
int grx_GetSubPlansByPlanID(grx_id chartId, grx_transaction prevTransactionId, grx_id** ids, size_t* ids_count);

/* ---- NameChecks */

/* W5GRX_CheckRootPlanName: The first rule a root-chart name breaks, with the position of the
   offending character. */
int grx_CheckRootPlanName(const char* name, int32_t* position);

/* W5GRX_CheckSubPlanName: The first rule a sub-chart name breaks, with the position of the
   offending character. */
int grx_CheckSubPlanName(const char* name, int32_t* position);

/* W5GRX_CheckBlockName: The first rule a block name breaks, with the position of the offending
   character. */
int grx_CheckBlockName(const char* name, int32_t* position);

/* W5GRX_CheckVarName: The first rule a variable name breaks, with the position of the offending
   character. */
int grx_CheckVarName(const char* name, int32_t* position);

/* ---- TasksAndInterfaces */

/* W5GRX_GetPlanInterface (may fail): Appends the chart's interface items (inputs and outputs);
   answers false. */
int grx_GetPlanInterface(grx_id chartId, grx_block** blocks, size_t* blocks_count, grx_transaction prevTransactionId);

/* W5GRX_GetPlanInterfaceParam (may fail): Appends the interface items with their attribute texts;
   answers false. */
int grx_GetPlanInterfaceParam(grx_id chartId, grx_param** params, size_t* params_count);

/* W5GRX_GetPlanInterfaceParentidAndLoc (may fail): Finds an interface item by its upper-case name
   in the chart or its sub-charts. */
int grx_GetPlanInterfaceParentidAndLoc(grx_id chartId, const char* name, grx_id* parentId, grx_id* locId);

/* W5GRX_GetTaskNamebyObjectId (may fail): The name of the task if the object is a member of one of
   its processing groups. */
int grx_GetTaskNamebyObjectId(grx_id taskId, grx_id objectId, char** taskName);

/* W5GRX_TaskDelete (may fail): Deletes the controller's tasks other than T1 to T5 whose processing
   groups are all empty. */
int grx_TaskDelete(grx_id cpuId, grx_transaction prevTransactionId);

/* W5GRX_TaskElementsDelete (may fail): Deletes a task together with its processing groups when
   every group is empty. */
int grx_TaskElementsDelete(grx_id taskId, grx_transaction prevTransactionId);

/* W5GRX_ProcessingGroupDeleteEmpty (may fail): Deletes the empty processing groups of a task whose
   names are not listed. */
int grx_ProcessingGroupDeleteEmpty(grx_id taskId, const char* const* names, size_t names_count, grx_transaction prevTransactionId);

/* W5GRX_GetTaskId (may fail): Runs W5GRX_ProcessingGroupDeleteEmpty over every task of the
   controller. */
int grx_GetTaskId(grx_id cpuId, const char* const* names, size_t names_count);

/* ---- GlobalVars */

/* FindGlobalVar (may fail): Finds the controller's global variable whose name equals name without
   regard to case: its second text and identifier. */
int grx_FindGlobalVar(grx_id resourceId, const char* name, char** text, grx_id* globalVarId, grx_transaction prevTransactionId);

/* FindGlobal (may fail): Finds the controller's global variable whose name equals name exactly: its
   second text and identifier. */
int grx_FindGlobal(grx_id resourceId, const char* name, char** text, grx_id* globalVarId, grx_transaction prevTransactionId);

/* FindGlobalVar (may fail): Appends every use of every global variable whose name contains pattern
   (flags: 1 whole name, 2 match case), sorted by root chart; variables whose full path holds "*"
   are passed over. */
int grx_FindGlobalVar_2(grx_id resourceId, const char* pattern, uint16_t flags, grx_find** results, size_t* results_count, grx_transaction prevTransactionId);

/* W5GRX_FindSinksOrSources (may fail): Appends the location text of a block parameter
   ("._ROOT_SUB_BLOCK.PARAM") or chart interface variable ((ROOT\SUB\CHART<VAR>)) and names its root
   chart. The whole text goes behind what location already holds; parameters of functions are
   located like those of function blocks. Raises when the charts above the variable contain each
   other. */
int grx_FindSinksOrSources(grx_id varId, const char* varName, const char* location, char** location_out, grx_id* rootChartId, char** rootChartName);

/* W5GRX_Sort (may fail): Sorts uses by root chart name (byte-wise, stable). */
int grx_Sort(const grx_find* results, size_t results_count, grx_find** results_out, size_t* results_out_count);

/* W5GRX_ReplaceGlobVar (may fail): Moves every connection of the global variable oldName to the
   variable newName, creating it when it does not exist; the old variable stays. False only when
   oldName is not found. */
int grx_ReplaceGlobVar(grx_id resourceId, const char* oldName, const char* newName, grx_transaction prevTransactionId);

/* W5GRX_ReplaceGlobalVar (may fail): Moves one connection (direction 0: the variable reads the
   global) to the global variable whose name is the old one with oldPart replaced by newPart,
   creating it when it does not exist. */
int grx_ReplaceGlobalVar(const char* newPart, const char* oldPart, int direction, grx_id connectedVarId, grx_id resourceId, grx_id oldGlobalVarId);

/* ---- BlockPlacement */

/* W5GRX_SearchMoveBlocks (may fail): Appends the function blocks and functions of a chart and its
   sub-charts (depth first) with their processing group and run-sequence places; a chart met again
   (charts that contain each other) is not searched twice. Raises OpenData::COpenDataException when
   a block listing fails. */
int grx_SearchMoveBlocks(grx_id chartId, grx_move_block** blocks, size_t* blocks_count, grx_transaction prevTransactionId);

/* W5GRX_SortBlock (may fail): Sorts blocks by their place in the group (stable). */
int grx_SortBlock(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count);

/* W5GRX_SortGrPos (may fail): Sorts blocks by the place of their group (stable). */
int grx_SortGrPos(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count);

/* W5GRX_SortTpName (may fail): Sorts blocks by task name (byte-wise, stable). */
int grx_SortTpName(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count);

/* W5GRX_MoveBlocks (may fail): Moves the blocks (all of one processing group) behind the last
   member of the destination group. */
int grx_MoveBlocks(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count, grx_id destGroupId, grx_transaction prevTransactionId);

/* W5GRX_GetLastBlockPos (may fail): The member of a processing group that its listing delivers
   last; false when a block member has no run-sequence place. */
int grx_GetLastBlockPos(grx_id groupId, grx_id* lastBlockId, grx_transaction prevTransactionId);

/* W5GRX_GetGroupPos (may fail): Moves the blocks into the destination group group by group, in the
   order of group and block places. Raises std::out_of_range for an empty list. */
int grx_GetGroupPos(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count, grx_id destGroupId, grx_transaction prevTransactionId);

/* ---- MessageBoxes */

/* DoCfcMsgBox: Shows the message box of a message resource (text\rsecond text\rcaption) and answers
   the button pressed: 1 OK, 2 Cancel, 6 Yes, 7 No. buttons: 0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4
   Yes/No (others as 1), 0x4000 adds a help button; style 16 stop, 48 exclamation, 64 information,
   others question. */
int grx_DoCfcMsgBox(grx_window window, uint32_t messageId, uint32_t style, uint32_t buttons);

/* DoCfcMsgBox: The same with the caption from the title resource ("no Resource" when missing) and
   the text given. */
int grx_DoCfcMsgBox_2(grx_window window, uint32_t title, const char* text, uint32_t style, uint32_t buttons);

/* DoCfcMsgBox: The same with both texts given. */
int grx_DoCfcMsgBox_3(grx_window window, uint32_t title, const char* text, const char* text2, uint32_t style, uint32_t buttons);

/* DoCfcMsgBox: The message resource with its "%s" placeholders replaced in turn by the arguments. */
int grx_DoCfcMsgBox_4(grx_window window, uint32_t messageId, const char* const* args, size_t args_count, uint32_t style, uint32_t buttons);

/* ---- VersionChecks */

/* W5GRX_SetGRXVersion (may fail): Stamps the resource and the root chart (either may be 0) with the
   current library-data version and build stamp; the chart's changed-pins list is left holding the
   single entry 0. Always true. */
int grx_SetGRXVersion(grx_window window, grx_id resourceId, grx_id chartId, grx_transaction prevTransactionId);

/* W5GRX_CheckGRXVersion (may fail): Whether the resource (and the root chart, unless 0) carry the
   current stamp; foreignStamp tells an unknown stamp. With showMessage, message 1056 (foreign) or
   1054 (older) on false; none for a resource or chart without blob. */
int grx_CheckGRXVersion(grx_window window, grx_id resourceId, grx_id chartId, int* foreignStamp, int showMessage, grx_transaction prevTransactionId);

/* W5GRX_CheckDataVersion (may fail): Whether the object's data version is the installed software
   version; with update, writing its comment back brings it up. The data version goes to text. True
   when the versions cannot be read. */
int grx_CheckDataVersion(grx_id objectId, grx_transaction prevTransactionId, int update, char** text);

/* W5GRX_GetVersionCFC (may fail): The installed software version as major and minor of two digits
   each (V7.1 gives 0701). */
int grx_GetVersionCFC(char** version);

/* W5GRX_CheckVersionCFC_V70 (may fail): Whether the installed chart editor's technology version
   (machine setting TechnVersion) is sufficient; tooOld tells one that is too old. */
int grx_CheckVersionCFC_V70(int* tooOld);

/* W5GRX_IsCfcEditorInstalled (may fail): Whether the chart editor program lies below the
   installation path (true when the path is unknown). */
int grx_IsCfcEditorInstalled(void);

/* W5GRX_CheckResource (may fail): Whether the resource could be classified (a directly served
   family counts as classified); servedKind tells one of the kind this library serves. With
   showMessage, message 1005 (served directly) or 1003 when it is not of the served kind. */
int grx_CheckResource(grx_window window, grx_id resourceId, int* servedKind, int showMessage, grx_transaction prevTransactionId);

/* ---- OnlineHelp */

/* W5GRX_SetHelpFileName (may fail): The help file of the user's language: installation path, help
   directory (Q3Help_SDir), the base name with its last letter replaced by the language letter (b
   when unknown), ".hlp". The path is allocated with _strdup and freed by the caller with free.
   Non-zero on success. */
int grx_SetHelpFileName(const char* base, char** path);

/* W5GRX_ShowHelp (may fail): Opens the help file (base w5grxmhx when none is given; the b file when
   the language's is missing) at the context data: WinHelp for .hlp files, HTML Help otherwise,
   whose error is shown in a box titled 509. Data 0x2xxxx always opens at its context. 0 shown, -1
   not. */
int grx_ShowHelp(grx_window window, const char* base, uint32_t data, uint32_t command);

/* W5GRX_ShowFBHelp (may fail): Starts the block help viewer FXBViewer for a block type: the package
   and library folder from the help path of the product its library belongs to (korvalen\fxb\04_01
   below the installation when the installation does not know it), the language the object's
   controller installed the library in. A viewer still open from an earlier call is closed first. 0
   when the start was attempted, -1 otherwise. */
int grx_ShowFBHelp(grx_window window, grx_id typeId, grx_id objectId);

/* ---- Logging */

/* W5GRX_GetTime: The current date and time as MM/DD/YY HH:MM:SS, written into time and answered. */
int grx_GetTime(char** time, char** answer);

/* W5GRX_LogSummary: Appends the summary to the log: strings 3066 and 3067 of the module filled with
   first and second (the start and end times of a run), 3068 with the log's error and warning
   counters. first and second are texts, not numbers: the times as W5GRX_GetTime writes them. The
   strings are filled printf-style (flags, width, precision, length; d i u x X c s and %%) from
   these values only. False without a log or when a string is missing (lines already appended stay). */
int grx_LogSummary(void* log, void* module, const char* first, const char* second);

/* W5GRX_AskShowProt: Closes the log; when it holds errors or warnings shows it (with ask, only
   after the answer Yes to question 3500 in a box titled titleId). False without a log, with nothing
   to show or a missing string. */
int grx_AskShowProt(grx_window window, void* log, int ask, void* module, uint32_t titleId, uint32_t value);

/* ---- ErrorLocation */

/* W5GRX_GetErrorLocation: The object a compiler message's location names, below the chart or
   controller it belongs to: {GROUP} a processing group (firstId 0, secondId the group), <PARAM> a
   chart interface parameter (the chart, the parameter; sub-charts depth first), ".BLOCK.PARAM" a
   block and its parameter (see W5GRX_GetError). False when it is not found, or on any failure. */
int grx_GetErrorLocation(grx_id objectId, const char* location, grx_id* firstId, grx_id* secondId);

/* W5GRX_GetError: The block whose full name is blockName (ignoring case) in the chart or a
   sub-chart at any depth, and its parameter paramName (ignoring case; 0 when paramName is empty).
   Without a full-name match, the one block whose own name (the full name's last part) is blockName;
   two or more are no match (traced). */
int grx_GetError(grx_id chartId, const char* blockName, const char* paramName, grx_id* blockId, grx_id* paramId);

/* ---- Import */

/* W5GRX_ASTaskImport (may fail): Creates the tasks T1 to T5 of the controller with their task
   records (task identifiers 1, 2, 4, 8, 16; a task that exists keeps its place and gets the
   record), links T2 into the run sequence, in a transaction of its own (committed) when
   prevTransactionId is 0xFFFF. A failing call shows message 1032 and the others go on. 1 when the
   import components cannot be created, else 0. */
int grx_ASTaskImport(grx_window window, grx_id resourceId, int unused, grx_transaction prevTransactionId);

/* W5GRX_ASBlockTypeImport (may fail): Runs the engineering system's block-type import for the
   controller (import host, its log view, import runner): the log summary is appended and, unless
   quiet, the log shown when it holds errors or warnings. Errors ask message 1039 (Yes keeps the
   result: 0); a failing step shows message 1032 with its HRESULT. 0 kept (a transaction of its own
   committed), 1 failed or rejected (rolled back), 2 the runner's own answer (nothing changed;
   rolled back). started is set to 1. */
int grx_ASBlockTypeImport(grx_window window, grx_id resourceId, int quiet, int* started, grx_transaction prevTransactionId);

/* W5GRX_CopyBlockTypeImport (may fail): Adds the technology packages of the source controller that
   have no partner in the target (same name before "." or "[", same name before KORVALEN, or same
   interface GUID) to the target's resource record, then runs the block-type import for the target
   without question. False when the import components cannot be created or the host cannot be
   opened. */
int grx_CopyBlockTypeImport(grx_window window, grx_id unused, grx_id targetId, grx_id sourceId, grx_transaction prevTransactionId);

#ifdef __cplusplus
}
#endif

#endif
