// Preprocessor helpers for the tables of this project: a row's parameter list, given as
// parenthesised tuples, is expanded once per parameter, with or without commas between.
#pragma once

#define GRX_PP_CAT_(a, b) a##b
#define GRX_PP_CAT(a, b) GRX_PP_CAT_(a, b)
#define GRX_PP_COMMA() ,
#define GRX_PP_NOTHING()
#define GRX_PP_NARGS(...) GRX_PP_NARGS_(__VA_ARGS__, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0)
#define GRX_PP_NARGS_(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, n, ...) n

// GRX_PP_MAP(m, sep, (a...), (b...)) -> m(a...) sep() m(b...)
// An empty list expands to nothing.
#define GRX_PP_MAP(m, sep, ...) __VA_OPT__(GRX_PP_CAT(GRX_PP_MAP_, GRX_PP_NARGS(__VA_ARGS__))(m, sep, __VA_ARGS__))
#define GRX_PP_MAP_1(m, sep, a) m a
#define GRX_PP_MAP_2(m, sep, a, ...) m a sep() GRX_PP_MAP_1(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_3(m, sep, a, ...) m a sep() GRX_PP_MAP_2(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_4(m, sep, a, ...) m a sep() GRX_PP_MAP_3(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_5(m, sep, a, ...) m a sep() GRX_PP_MAP_4(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_6(m, sep, a, ...) m a sep() GRX_PP_MAP_5(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_7(m, sep, a, ...) m a sep() GRX_PP_MAP_6(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_8(m, sep, a, ...) m a sep() GRX_PP_MAP_7(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_9(m, sep, a, ...) m a sep() GRX_PP_MAP_8(m, sep, __VA_ARGS__)
#define GRX_PP_MAP_10(m, sep, a, ...) m a sep() GRX_PP_MAP_9(m, sep, __VA_ARGS__)

// The parts of one export parameter (direction, kind, type, name).
#define GRX_EXPORT_PARAM_DECL(direction, kind, type, name) type name
#define GRX_EXPORT_PARAM_FORWARD(direction, kind, type, name) static_cast<decltype(name)&&>(name)
#define GRX_EXPORT_PARAM_TYPE(direction, kind, type, name) type
