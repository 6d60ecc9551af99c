/* A host written in C: it opens the demo project in the chart-database stand-in and calls one
   export of every family through the library's C interface, checking the answers; a failure of
   the library comes back as the answer 0 and a text from grx_last_error().

     c_interface_test DEMO.json

   Compiled as C11 with -Wall -Wextra -Werror -pedantic; exits 1 when an answer is not the one
   expected. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "grx/w5lhlpax_c.h"

/* The stand-in's control interface, as a C host declares it. */
int q3sim_ImportDescription(const char* json, const char* path);
int q3sim_ResolvePath(const char* path, uint64_t* id);
int q3sim_CloseProject(void);
const char* q3sim_LastError(void);

static int failures = 0;

#define CHECK(condition)                                                                                \
  do {                                                                                                  \
    if (!(condition)) {                                                                                 \
      fprintf(stderr, "%s:%d: %s does not hold (last error: \"%s\")\n", __FILE__, __LINE__, #condition, \
              grx_last_error());                                                                        \
      ++failures;                                                                                       \
    }                                                                                                   \
  } while (0)

static grx_id Resolve(const char* path) {
  grx_id id = 0;
  if (q3sim_ResolvePath(path, &id) != 0) {
    fprintf(stderr, "no object %s: %s\n", path, q3sim_LastError());
    exit(2);
  }
  return id;
}

static char* ReadFile(const char* path) {
  FILE* file = fopen(path, "rb");
  long size;
  char* text;
  if (!file) return NULL;
  fseek(file, 0, SEEK_END);
  size = ftell(file);
  fseek(file, 0, SEEK_SET);
  text = malloc((size_t)size + 1);
  if (text && fread(text, 1, (size_t)size, file) != (size_t)size) {
    free(text);
    text = NULL;
  }
  if (text) text[size] = '\0';
  fclose(file);
  return text;
}

int main(int argc, char** argv) {
  char* json;
  grx_id controller, axis1, found = 0, first = 0, second = 0;
  char** names = NULL;
  grx_id* ids = NULL;
  grx_find* finds = NULL;
  grx_move_block *blocks = NULL, *sorted = NULL;
  grx_block* items = NULL;
  char* text = NULL;
  char* answer = NULL;
  size_t count = 0, sorted_count = 0, i;
  uint32_t es_type = 0;
  grx_data_type iec_type = 0;
  int32_t position = -1;
  int served = -1;
  grx_transaction transaction = GRX_NO_TRANSACTION;
  const grx_data_type integer = 5, dint = 7, real = 8;
  const char* task_names[] = {"T1", "T2"};
  char name_buffer[52] = "axis1";

  if (argc != 2 || !(json = ReadFile(argv[1]))) {
    fprintf(stderr, "usage: c_interface_test DEMO.json\n");
    return 2;
  }
  if (q3sim_ImportDescription(json, ":memory:") != 0) {
    fprintf(stderr, "cannot import %s: %s\n", argv[1], q3sim_LastError());
    return 2;
  }
  free(json);
  controller = Resolve("D445_AXES");
  axis1 = Resolve("D445_AXES/Axis1");

  /* Type queries */
  CHECK(grx_IsSimpleType("INT", &es_type, &iec_type) == 1 && es_type == 7 && iec_type == 5);
  CHECK(grx_CanCast(&integer, &integer) == 1 && grx_CanCast(&dint, &real) == 0);
  CHECK(grx_last_error()[0] == '\0');

  /* Variable queries */
  CHECK(grx_NameFromVarId(Resolve("D445_AXES/Axis1/Ramp1.X"), &text, GRX_NO_TRANSACTION) == 1 && text &&
        strcmp(text, "Ramp1:X") == 0);
  grx_free_text(text);
  text = NULL;

  /* Plan navigation */
  CHECK(grx_RootPlansFromCPU(controller, &names, &count, GRX_NO_TRANSACTION) == 1 && count == 4 &&
        strcmp(names[0], "Axis1") == 0 && strcmp(names[3], "Monitor") == 0);
  grx_free_texts(names, count);
  CHECK(grx_GetSubPlansByPlanID(axis1, GRX_NO_TRANSACTION, &ids, &count) == 3 && count == 3 &&
        ids[0] == Resolve("D445_AXES/Axis1/Homing"));
  grx_free_ids(ids);
  /* a name buffer takes the name as stored; one too small is refused, and says so */
  found = 0;
  CHECK(grx_RootPlanFromName(controller, name_buffer, sizeof name_buffer, &found, GRX_NO_TRANSACTION) == 1 &&
        strcmp(name_buffer, "Axis1") == 0 && found == axis1);
  CHECK(grx_RootPlanFromName(controller, name_buffer, 8, &found, GRX_NO_TRANSACTION) == 0 &&
        strstr(grx_last_error(), "52") != NULL);

  /* Chart paths */
  found = 0;
  CHECK(grx_GetChart("Axis1\\Homing", controller, &found, GRX_NO_TRANSACTION) == 1 &&
        found == Resolve("D445_AXES/Axis1/Homing"));

  /* Name checks: a double underscore at the fifth character */
  CHECK(grx_CheckVarName("axis__1", &position) == 2 && position == 5);

  /* Tasks and interfaces */
  CHECK((grx_GetPlanInterface(Resolve("D445_AXES/Axis1/Homing"), &items, &count, GRX_NO_TRANSACTION), count > 0) &&
        strcmp(items[0].name, "HomeReq") == 0 && items[0].id == Resolve("D445_AXES/Axis1/Homing.HomeReq"));
  grx_free_blocks(items, count);
  CHECK(grx_GetTaskId(controller, task_names, 2) == 1 && grx_last_error()[0] == '\0');

  /* Global variables, in a transaction that is rolled back */
  CHECK(grx_FindGlobalVar_2(controller, "Speed", 0, &finds, &count, GRX_NO_TRANSACTION) == 1 && count == 2 &&
        strcmp(finds[0].global_var_name, "gLineSpeed") == 0 && strcmp(finds[1].root_chart_name, "Axis2") == 0);
  grx_free_finds(finds, count);
  CHECK(grx_transaction_begin(GRX_NO_TRANSACTION, &transaction) == 1);
  CHECK(grx_ReplaceGlobVar(controller, "gLineSpeed", "gBeltSpeed", transaction) == 1);
  CHECK(grx_FindGlobalVar(controller, "gBeltSpeed", &text, &found, transaction) == 1 && found != 0);
  grx_free_text(text);
  text = NULL;
  CHECK(grx_transaction_abort(transaction) == 1);
  CHECK(grx_FindGlobalVar_2(controller, "gBeltSpeed", 0, &finds, &count, GRX_NO_TRANSACTION) == 1 && count == 0);
  grx_free_finds(finds, count);

  /* Block placement: the blocks of a chart, sorted by task name */
  CHECK(grx_SearchMoveBlocks(axis1, &blocks, &count, GRX_NO_TRANSACTION) == 1 && count > 0);
  CHECK(grx_SortTpName(blocks, count, &sorted, &sorted_count) == 1 && sorted_count == count);
  for (i = 1; i < sorted_count; ++i) CHECK(strcmp(sorted[i - 1].tp_name, sorted[i].tp_name) <= 0);
  grx_free_move_blocks(blocks);
  grx_free_move_blocks(sorted);
  /* An export that raises: moving no blocks at all */
  CHECK(grx_GetGroupPos(NULL, 0, &sorted, &sorted_count, found, GRX_NO_TRANSACTION) == 0);
  CHECK(strncmp(grx_last_error(), "W5GRX_GetGroupPos: ", 19) == 0);

  /* Message boxes: no window, the default answer */
  CHECK(grx_DoCfcMsgBox_2(0, 0, "From a C host", 64, 0) >= 1);

  /* Version checks */
  CHECK(grx_CheckResource(0, controller, &served, 0, GRX_NO_TRANSACTION) == 1 && (served == 0 || served == 1));

  /* Online help: without an installation there is no help file, and an empty text */
  CHECK(grx_SetHelpFileName("w5grxmhx", &text) == 0 && text && text[0] == '\0' && grx_last_error()[0] == '\0');
  grx_free_text(text);
  text = NULL;

  /* Logging: the time as text, answered and written */
  CHECK(grx_GetTime(&text, &answer) == 1 && strlen(text) == 17 && strcmp(text, answer) == 0);
  grx_free_text(text);
  grx_free_text(answer);

  /* Error location */
  CHECK(grx_GetError(axis1, "Ramp1", "X", &first, &second) == 1 && first == Resolve("D445_AXES/Axis1/Ramp1") &&
        second == Resolve("D445_AXES/Axis1/Ramp1.X"));

  /* Import: the tasks of the controller */
  CHECK(grx_ASTaskImport(0, controller, 0, GRX_NO_TRANSACTION) == 0 && grx_last_error()[0] == '\0');

  /* Required pointers are checked, not followed */
  CHECK(grx_IsSimpleType(NULL, &es_type, &iec_type) == 0 &&
        strcmp(grx_last_error(), "W5GRX_IsSimpleType: name is NULL") == 0);

  q3sim_CloseProject();
  if (failures) {
    fprintf(stderr, "c_interface_test: %d check(s) failed\n", failures);
    return 1;
  }
  printf("c_interface_test: every family answered through the C interface\n");
  return 0;
}
