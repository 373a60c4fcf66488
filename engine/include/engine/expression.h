// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
/// @file
/// The engine for embedders: compile a term with named variables once into an
/// immutable engine::Expression, then evaluate it for values given by
/// position, one point at a time or a whole batch of points in one call.
///
/// This header needs C++17 only. Nothing here throws: every failure comes
/// back as an engine::Error inside an engine::Result, which is std::expected
/// where the standard library has it and a small type with the same members
/// otherwise.
///
/// Thread rules: compiling needs no shared state, so different threads may
/// compile at the same time. A compiled Expression never changes; one
/// Expression (or copies of it, which share the compiled program) may be
/// evaluated from any number of threads at once. An evaluation keeps its
/// state in the call and in the calling thread; the random functions (RND,
/// RAND, NORMRAND, POIRAND) draw from the calling thread's generator
/// (engine/random.h).
///
/// Floating-point environment: every call keeps the host's. Flags the host
/// raised stay raised, the engine leaves no failure flag (invalid, division
/// by zero, overflow) behind, and the host's rounding, precision and
/// exception masks are back after the call; inside, the engine computes with
/// its own settings, so they change no result. Inexact and underflow raised
/// by the engine's arithmetic may stay, as after any arithmetic.
///
/// Example:
/// @code
///   auto expression = engine::Expression::Compile("sin(x)*cos(y)", {"x", "y"});
///   if (!expression) {
///     std::printf("%s\n", expression.error().message.c_str());
///     return 1;
///   }
///   auto value = expression->Evaluate({0.5L, 0.25L});
///   if (value) std::printf("%Lg\n", *value);
/// @endcode
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>
#if __has_include(<version>)
#include <version>
#endif
#if defined(__cpp_lib_span) && __cpp_lib_span >= 202002L
#include <span>
#endif
#if defined(__cpp_lib_expected) && __cpp_lib_expected >= 202202L
#include <expected>
#endif

namespace engine {

/// What went wrong. The values up to 9 are the engine's status codes
/// (engine/status.h) and mean the same; the facade adds its own from 16 on.
enum class ErrorCode : std::uint8_t {
  /// No error; the status of a point that has a value.
  kOk = 0,
  /// The parentheses do not balance.
  kWrongParentheses = 1,
  /// The term is empty, too long for the program buffer (500 records), or
  /// cannot be analysed for another reason.
  kCannotAnalyse = 2,
  /// An undefined function, an unknown name, or a term whose operands and
  /// operators do not fit together (`x==y`, `(2)3`, `MAX(1;2;3)`).
  kSyntaxError = 3,
  /// A declared function calls itself, directly or through others, or is
  /// called with too few arguments.
  kRecursiveCall = 4,
  /// An operator without its operand (`2*`, `*3`, `2+*3`).
  kMissingOperand = 5,
  /// The evaluation failed: a value outside a function's domain, a division
  /// by zero, an overflow, or a NaN result.
  kCannotEvaluate = 7,
  /// The term contains the constant NAN, which has no value to compute with.
  kNaNConstant = 8,
  /// A variable name, constant or function declaration that the engine does
  /// not accept (an invalid or reserved name, a duplicate, a malformed line).
  kInvalidDeclaration = 16,
  /// The call's arguments do not fit the expression: the wrong number of
  /// values or columns, columns of different lengths, an empty Expression.
  kWrongArgument = 17,
  /// Memory ran out.
  kOutOfMemory = 18,
};

/// A failure, with everything the engine knows about it.
struct Error {
  /// What kind of failure it is.
  ErrorCode code = ErrorCode::kOk;
  /// The engine's message as one line of text (English).
  std::string message;
  /// Where the fault is in the compiled text: a 0-based byte offset, when the
  /// engine can tell (parentheses, unknown names and functions, operands and
  /// operators that do not fit); empty otherwise and for evaluation errors.
  std::optional<std::size_t> position;
};

#if defined(__cpp_lib_expected) && __cpp_lib_expected >= 202202L
/// A value of type T or an Error: std::expected<T, Error>.
template <class T>
using Result = std::expected<T, Error>;

namespace detail {
template <class T>
Result<T> Failure(Error error) noexcept {
  return Result<T>(std::unexpect, std::move(error));
}
}  // namespace detail
#else
/// A value of type T or an Error, for standard libraries without
/// std::expected. It has the members of std::expected that embedders use
/// most: has_value, operator bool, operator*, operator->, value, value_or and
/// error. Reading the value of a Result that holds an error (or the error of
/// one that holds a value) is a precondition violation, as with
/// std::expected's operator*.
template <class T>
class [[nodiscard]] Result {
 public:
  /// A Result holding value.
  Result(T value) noexcept(std::is_nothrow_move_constructible_v<T>)  // NOLINT: implicit
      : state_(std::in_place_index<0>, std::move(value)) {}
  /// A Result holding error, as std::expected's std::unexpect constructor.
  Result(std::in_place_type_t<Error>, Error error) noexcept
      : state_(std::in_place_index<1>, std::move(error)) {}

  /// True when the Result holds a value.
  bool has_value() const noexcept { return state_.index() == 0; }
  /// True when the Result holds a value.
  explicit operator bool() const noexcept { return has_value(); }

  /// The value; the Result must hold one.
  T& operator*() & noexcept { return *std::get_if<0>(&state_); }
  /// The value; the Result must hold one.
  const T& operator*() const& noexcept { return *std::get_if<0>(&state_); }
  /// The value; the Result must hold one.
  T&& operator*() && noexcept { return std::move(*std::get_if<0>(&state_)); }
  /// Access to the value's members; the Result must hold one.
  T* operator->() noexcept { return std::get_if<0>(&state_); }
  /// Access to the value's members; the Result must hold one.
  const T* operator->() const noexcept { return std::get_if<0>(&state_); }
  /// The value; the Result must hold one.
  T& value() & noexcept { return **this; }
  /// The value; the Result must hold one.
  const T& value() const& noexcept { return **this; }
  /// The value; the Result must hold one.
  T&& value() && noexcept { return std::move(**this); }
  /// The value, or fallback when the Result holds an error.
  template <class U>
  T value_or(U&& fallback) const& {
    return has_value() ? **this : static_cast<T>(std::forward<U>(fallback));
  }

  /// The error; the Result must hold one.
  const Error& error() const& noexcept { return *std::get_if<1>(&state_); }
  /// The error; the Result must hold one.
  Error& error() & noexcept { return *std::get_if<1>(&state_); }
  /// The error; the Result must hold one.
  Error&& error() && noexcept { return std::move(*std::get_if<1>(&state_)); }

 private:
  // A value alone costs no empty Error to make and destroy.
  std::variant<T, Error> state_;
};

namespace detail {
template <class T>
Result<T> Failure(Error error) noexcept {
  return Result<T>(std::in_place_type<Error>, std::move(error));
}
}  // namespace detail
#endif

/// A view of contiguous elements: a pointer and a count, like std::span
/// (which converts to it) under C++17. It owns nothing; the elements must
/// outlive the call it is passed to.
template <class T>
class Span {
 public:
  /// No elements.
  constexpr Span() noexcept = default;
  /// count elements from data on.
  constexpr Span(T* data, std::size_t count) noexcept : data_(data), size_(count) {}
  /// All elements of an array.
  template <std::size_t N>
  constexpr Span(T (&array)[N]) noexcept : data_(array), size_(N) {}  // NOLINT: implicit
  /// All elements of a contiguous container with data() and size(), such as
  /// std::vector, std::array or std::span.
  template <class Container,
            class = std::enable_if_t<
                !std::is_same_v<std::remove_cv_t<Container>, Span> &&
                std::is_convertible_v<decltype(std::declval<Container&>().data()), T*>>>
  constexpr Span(Container& container) noexcept  // NOLINT: implicit
      : data_(container.data()), size_(container.size()) {}
  /// All elements of a container given as a temporary or a constant; only
  /// for views of constant elements.
  template <class Container,
            class = std::enable_if_t<
                std::is_const_v<T> && !std::is_same_v<std::remove_cv_t<Container>, Span> &&
                std::is_convertible_v<decltype(std::declval<const Container&>().data()), T*>>>
  constexpr Span(const Container& container) noexcept  // NOLINT: implicit
      : data_(container.data()), size_(container.size()) {}
  /// The first element.
  constexpr T* data() const noexcept { return data_; }
  /// The number of elements.
  constexpr std::size_t size() const noexcept { return size_; }
  /// True when there are no elements.
  constexpr bool empty() const noexcept { return size_ == 0; }
  /// Element index, which must be below size().
  constexpr T& operator[](std::size_t index) const noexcept { return data_[index]; }
  /// The first element, for range-based for.
  constexpr T* begin() const noexcept { return data_; }
  /// Behind the last element.
  constexpr T* end() const noexcept { return data_ + size_; }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
};

/// The values of one point, one per variable in the order of the names given
/// to Expression::Compile.
using Values = Span<const long double>;
/// The values of one variable over a batch of points.
using Column = Span<const long double>;
/// The values of one variable over a batch of points, as doubles.
using DoubleColumn = Span<const double>;

/// How the trigonometric functions read and give angles.
enum class AngleMode : std::uint8_t {
  /// Radians (the default).
  kRadians = 0,
  /// Degrees: a full turn is 360.
  kDegrees = 1,
  /// Gradians: a full turn is 400.
  kGradians = 2,
};

/// What a compilation may use besides the term and its variables.
struct CompileOptions {
  /// The unit of angles of SIN, COS, TAN, COT, ARCSIN, ARCCOS, ARCTAN,
  /// ARCCOT and ATAN2.
  AngleMode angle_mode = AngleMode::kRadians;
  /// User constants, one declaration a line, as `NAME=term` (`G=9.81`,
  /// `TAU=2*PI`).
  std::vector<std::string> constants;
  /// User functions, one declaration a line, as `NAME(A;B)=term`
  /// (`HYPOT(A;B)=SQRT(A*A+B*B)`).
  std::vector<std::string> functions;
  /// Whether an expression of plain arithmetic may be turned into machine
  /// code once it has run many times (x86-64 only). Results are the same
  /// either way, bit for bit; false saves the executable memory, for hosts
  /// whose policy forbids it. The environment variable
  /// ZELV_ENGINE_NO_MACHINE_CODE (set to anything but empty or 0) turns it
  /// off for the whole process.
  bool machine_code = true;
};

/// A compiled term: immutable, cheap to copy (copies share the compiled
/// program), safe to evaluate from several threads at once.
///
/// The engine computes in the 80-bit extended format (long double on x86).
/// A failed evaluation is an error, never a substitute value: a result that
/// would be NaN, infinite through an overflow, or outside a function's domain
/// comes back as ErrorCode::kCannotEvaluate.
class Expression {
 public:
  /// An empty expression: it has no variables, and evaluating it fails with
  /// ErrorCode::kWrongArgument.
  Expression() noexcept = default;

  /// Compiles text, a term in the engine's language (case and blanks do not
  /// matter; `;` separates function arguments), whose variables are named by
  /// variables in the order their values will be given. Fails with the
  /// engine's code, a one-line message and, where known, the position of the
  /// fault: for example kSyntaxError for `x==y`, `x=>y` or `(2)3`, whose
  /// operators and operands cannot work out, and kInvalidDeclaration for a
  /// variable name or declaration the engine refuses.
  static Result<Expression> Compile(std::string_view text,
                                    const std::vector<std::string>& variables = {},
                                    const CompileOptions& options = {}) noexcept {
    Expression expression;
    Error error;
    if (!CompileInto(text, variables, options, expression, error)) {
      return detail::Failure<Expression>(std::move(error));
    }
    return Result<Expression>(std::move(expression));
  }

  /// The value for one point: values holds one value per variable. Fails
  /// with kCannotEvaluate and the engine's message when the evaluation fails,
  /// and with kWrongArgument when the count of values is not VariableCount().
  Result<long double> Evaluate(Values values) const noexcept {
    long double value = 0;
    // The fast execution form decides most points alone; only a point it
    // leaves open needs the interpreter, and an Error to report into.
    if (EvaluateFast(values.data(), values.size(), value)) return Result<long double>(value);
    Error error;
    if (!EvaluateInto(values.data(), values.size(), value, error)) {
      return detail::Failure<long double>(std::move(error));
    }
    return Result<long double>(value);
  }
  /// Evaluate for values given as a braced list: `Evaluate({1.0L, 2.0L})`.
  Result<long double> Evaluate(std::initializer_list<long double> values) const noexcept {
    return Evaluate(Values(values.begin(), values.size()));
  }

  /// Evaluates a batch of points in one call: columns holds one column per
  /// variable, all of the same length n; results and status must have room
  /// for n entries. Point i takes value i of every column; results[i] and
  /// status[i] receive exactly what Evaluate gives for it (the value, bit for
  /// bit, with status kOk; or status kCannotEvaluate, and results[i] is 0).
  /// Returns the number of points that failed; Evaluate on such a point
  /// gives its message. Fails, writing nothing, with kWrongArgument when the
  /// columns do not fit the expression or each other, or the outputs are too
  /// short.
  ///
  /// A batch pays the costs of a call (context, floating-point environment)
  /// once; the fast execution form is made when the expression is compiled,
  /// so even a batch of 8 points costs little more per point than a long
  /// one. Within one batch of 64 points or more, a built-in function other
  /// than the random ones that is called again with the same argument, bit
  /// for bit, reuses its earlier result, so grids with repeated coordinates
  /// evaluate their functions once per distinct coordinate.
  Result<std::size_t> EvaluateBulk(Span<const Column> columns, Span<long double> results,
                                   Span<ErrorCode> status) const noexcept {
    std::size_t failures = 0;
    Error error;
    if (!EvaluateBulkInto(columns.data(), columns.size(), results.data(), results.size(),
                          status.data(), status.size(), failures, error)) {
      return detail::Failure<std::size_t>(std::move(error));
    }
    return Result<std::size_t>(failures);
  }
  /// EvaluateBulk for columns given as a braced list: `EvaluateBulk({xs, ys},
  /// results, status)`.
  Result<std::size_t> EvaluateBulk(std::initializer_list<Column> columns, Span<long double> results,
                                   Span<ErrorCode> status) const noexcept {
    return EvaluateBulk(Span<const Column>(columns.begin(), columns.size()), results, status);
  }
  /// EvaluateBulk over columns of doubles, as a plotting program holds them:
  /// each value is read as the engine's 80-bit value, and each result is
  /// the 80-bit result rounded once to double (a result beyond double's
  /// range becomes infinite, as in a conversion). Nothing is copied through
  /// long double arrays.
  Result<std::size_t> EvaluateBulk(Span<const DoubleColumn> columns, Span<double> results,
                                   Span<ErrorCode> status) const noexcept {
    std::size_t failures = 0;
    Error error;
    if (!EvaluateBulkInto(columns.data(), columns.size(), results.data(), results.size(),
                          status.data(), status.size(), failures, error)) {
      return detail::Failure<std::size_t>(std::move(error));
    }
    return Result<std::size_t>(failures);
  }
  /// EvaluateBulk over columns of doubles given as a braced list.
  Result<std::size_t> EvaluateBulk(std::initializer_list<DoubleColumn> columns,
                                   Span<double> results, Span<ErrorCode> status) const noexcept {
    return EvaluateBulk(Span<const DoubleColumn>(columns.begin(), columns.size()), results, status);
  }
  /// EvaluateBulk over columns of doubles given as plain pointers:
  /// column_count columns of points values each; results and status must
  /// have room for points entries.
  Result<std::size_t> EvaluateBulk(const double* const* columns, std::size_t column_count,
                                   std::size_t points, double* results,
                                   ErrorCode* status) const noexcept {
    std::size_t failures = 0;
    Error error;
    if (!EvaluateBulkInto(columns, column_count, points, results, status, failures, error)) {
      return detail::Failure<std::size_t>(std::move(error));
    }
    return Result<std::size_t>(failures);
  }

  /// The number of variables, which is the number of values a point needs.
  std::size_t VariableCount() const noexcept;
  /// The variable names in the order of their values, as given to Compile.
  const std::vector<std::string>& Variables() const noexcept;
  /// The text the expression was compiled from.
  const std::string& Text() const noexcept;
  /// The angle mode it was compiled with.
  AngleMode Angles() const noexcept;
  /// False for a default-constructed Expression.
  bool Valid() const noexcept { return impl_ != nullptr; }

 private:
  struct Impl;

  // The compiled entry points. They take plain pointers and report through
  // out parameters, so the library is the same whichever standard (and so
  // whichever Result) the embedder compiles with.
  static bool CompileInto(std::string_view text, const std::vector<std::string>& variables,
                          const CompileOptions& options, Expression& expression,
                          Error& error) noexcept;
  // true with the value where the fast execution form decides the point;
  // false, changing nothing, otherwise.
  bool EvaluateFast(const long double* values, std::size_t count,
                    long double& value) const noexcept;
  // The whole evaluation by the interpreter.
  bool EvaluateInto(const long double* values, std::size_t count, long double& value,
                    Error& error) const noexcept;
  bool EvaluateBulkInto(const Column* columns, std::size_t columnCount, long double* results,
                        std::size_t resultCount, ErrorCode* status, std::size_t statusCount,
                        std::size_t& failures, Error& error) const noexcept;
  bool EvaluateBulkInto(const DoubleColumn* columns, std::size_t columnCount, double* results,
                        std::size_t resultCount, ErrorCode* status, std::size_t statusCount,
                        std::size_t& failures, Error& error) const noexcept;
  bool EvaluateBulkInto(const double* const* columns, std::size_t columnCount, std::size_t points,
                        double* results, ErrorCode* status, std::size_t& failures,
                        Error& error) const noexcept;
  template <class Input, class Output>
  bool BulkInto(const Input* const* columns, std::size_t columnCount, std::size_t points,
                Output* results, ErrorCode* status, std::size_t& failures,
                Error& error) const noexcept;
  template <class Input, class Output>
  bool BulkSpansInto(const Span<const Input>* columns, std::size_t columnCount, Output* results,
                     std::size_t resultCount, ErrorCode* status, std::size_t statusCount,
                     std::size_t& failures, Error& error) const noexcept;

  std::shared_ptr<const Impl> impl_;
};

}  // namespace engine
