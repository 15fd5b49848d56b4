#include "text/regex_program.h"

#include <algorithm>
#include <utility>

#include "text/utf8.h"

namespace velorin {

namespace {

using Op = RegexInstruction::Op;
using Kind = RegexNode::Kind;

/// Emits the instructions of a tree, walking it with a stack of its own: a
/// node's instructions come in the order of its text, a repeated node's
/// once per copy.
class Emitter {
 public:
  Emitter(const RegexTree& tree, std::vector<RegexInstruction>& out) : tree_(tree), out_(out) {}

  /// False when the program would grow past kRegexMaxInstructions.
  bool Emit() {
    tasks_.push_back(Task{tree_.root, 0, 0, {}});
    while (!tasks_.empty()) {
      const std::optional<std::uint32_t> child = Step(tasks_.back());
      if (out_.size() > kRegexMaxInstructions) return false;
      if (child) {
        tasks_.push_back(Task{*child, 0, 0, {}});
      } else {
        tasks_.pop_back();
      }
    }
    Add({Op::kMatch});
    return true;
  }

 private:
  /// A node being emitted: how far, the instruction to patch once the
  /// next part is placed, the ones to patch at its end.
  struct Task {
    std::uint32_t node = 0;
    std::uint32_t step = 0;
    std::uint32_t mark = 0;
    std::vector<std::uint32_t> ends;
  };

  std::uint32_t Here() const { return static_cast<std::uint32_t>(out_.size()); }

  std::uint32_t Add(RegexInstruction instruction) {
    out_.push_back(instruction);
    return Here() - 1;
  }

  /// Emits what comes before the next child of `task` and returns that
  /// child; or emits the node's end and returns nothing.
  std::optional<std::uint32_t> Step(Task& task) {
    const RegexNode& node = tree_.nodes[task.node];
    switch (node.kind) {
      case Kind::kEmpty:
        return std::nullopt;
      case Kind::kCharacters:
        Add({Op::kCharacters, {}, node.set, Here() + 1});
        return std::nullopt;
      case Kind::kAssertion:
        Add({Op::kAssert, node.assertion, 0, Here() + 1});
        return std::nullopt;
      case Kind::kConcat:
        if (task.step < node.children.size()) return node.children[task.step++];
        return std::nullopt;
      case Kind::kAlternation:
        return AlternationStep(task, node);
      case Kind::kRepeat:
        break;
    }
    return node.max == kRegexUnbounded ? LoopStep(task, node) : CountStep(task, node);
  }

  /// a|b|c: split to a or on; a; jump to the end; split to b or c; ...
  std::optional<std::uint32_t> AlternationStep(Task& task, const RegexNode& node) {
    const auto count = static_cast<std::uint32_t>(node.children.size());
    if (task.step > 0 && task.step < count) {
      // After child step - 1, which is not the last.
      task.ends.push_back(Add({Op::kJump}));
      out_[task.mark].other = Here();
    }
    if (task.step == count) {
      for (const std::uint32_t jump : task.ends) out_[jump].next = Here();
      return std::nullopt;
    }
    if (task.step + 1 < count) task.mark = Add({Op::kSplit, {}, 0, Here() + 1});
    return node.children[task.step++];
  }

  /// x* as: split to x or the end; x; jump back. x{n,} as n - 1 copies of x,
  /// then x once more with a split back to its start.
  std::optional<std::uint32_t> LoopStep(Task& task, const RegexNode& node) {
    const std::uint32_t child = node.children[0];
    if (node.min == 0) {
      if (task.step++ == 0) {
        task.mark = Add({Op::kSplit, {}, 0, Here() + 1});
        return child;
      }
      Add({Op::kJump, {}, 0, task.mark});
      out_[task.mark].other = Here();
      return std::nullopt;
    }
    if (task.step < node.min) {
      if (task.step + 1 == node.min) task.mark = Here();
      ++task.step;
      return child;
    }
    Add({Op::kSplit, {}, 0, task.mark, Here() + 1});
    return std::nullopt;
  }

  /// x{n,m} as n copies of x, then m - n copies each behind a split that
  /// may go to the end: x x (x (x)?)?.
  std::optional<std::uint32_t> CountStep(Task& task, const RegexNode& node) {
    if (task.step < node.min) {
      ++task.step;
      return node.children[0];
    }
    if (task.step < node.max) {
      ++task.step;
      task.ends.push_back(Add({Op::kSplit, {}, 0, Here() + 1}));
      return node.children[0];
    }
    for (const std::uint32_t split : task.ends) out_[split].other = Here();
    return std::nullopt;
  }

  const RegexTree& tree_;
  std::vector<RegexInstruction>& out_;
  std::vector<Task> tasks_;
};

/// Whether every way through begins with ^ (as far as a first look tells).
bool AnchoredAtStart(const RegexTree& tree) {
  const RegexNode* node = &tree.nodes[tree.root];
  while (node->kind == Kind::kConcat && !node->children.empty()) {
    node = &tree.nodes[node->children[0]];
  }
  return node->kind == Kind::kAssertion && node->assertion == RegexAssertion::kTextStart;
}

/// The text the pattern is when every part of it is one character (an
/// ASCII letter in either case counting as one), with letters in small.
std::optional<std::string> PlainText(const RegexTree& tree) {
  const RegexNode& root = tree.nodes[tree.root];
  const std::vector<std::uint32_t> single = {tree.root};
  const std::vector<std::uint32_t>& parts =
      root.kind == Kind::kConcat || root.kind == Kind::kEmpty ? root.children : single;
  std::string text;
  for (const std::uint32_t part : parts) {
    const RegexNode& node = tree.nodes[part];
    if (node.kind != Kind::kCharacters) return std::nullopt;
    const auto& ranges = tree.sets[node.set].ranges();
    const bool letter = ranges.size() == 2 && ranges[0].first == ranges[0].last &&
                        ranges[1].first == ranges[1].last &&
                        ranges[0].first + (U'a' - U'A') == ranges[1].first &&
                        ranges[0].first >= U'A' && ranges[0].first <= U'Z';
    if (letter) {
      text += static_cast<char>(ranges[1].first);
    } else if (tree.sets[node.set].IsSingle() && ranges[0].first < kMalformedUnit) {
      utf8::Append(text, ranges[0].first);
    } else {
      return std::nullopt;
    }
  }
  return text;
}

/// Cuts the characters where any set, or \w when \b is used, begins or ends.
void MakeClasses(RegexProgram& program) {
  std::vector<char32_t>& starts = program.classStarts;
  starts = {0};
  for (const CodePointSet& set : program.sets) {
    for (const CodePointRange& range : set.ranges()) {
      starts.push_back(range.first);
      if (range.last < kMalformedUnit) starts.push_back(range.last + 1);
    }
  }
  if (program.usesWordBoundaries) {
    const CodePointSet word = WordCharacters();
    for (const CodePointRange& range : word.ranges()) {
      starts.push_back(range.first);
      starts.push_back(range.last + 1);
    }
  }
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  for (char32_t c = 0; c < 128; ++c) {
    const auto after = std::upper_bound(starts.begin(), starts.end(), c);
    program.asciiClasses[c] = static_cast<std::uint32_t>(after - starts.begin() - 1);
  }
}

}  // namespace

std::uint32_t RegexProgram::ClassOf(char32_t c) const {
  if (c < 128) return asciiClasses[c];
  const auto after = std::upper_bound(classStarts.begin(), classStarts.end(), c);
  return static_cast<std::uint32_t>(after - classStarts.begin() - 1);
}

CompiledRegex CompileRegex(std::string_view pattern) {
  CompiledRegex compiled;
  ParsedRegex parsed = ParseRegex(pattern);
  if (!parsed.tree) {
    compiled.error = std::move(parsed.error);
    return compiled;
  }
  const RegexTree& tree = *parsed.tree;
  auto program = std::make_shared<RegexProgram>();
  if (!Emitter(tree, program->instructions).Emit()) {
    compiled.error = "it is too large to search with: it would take more than " +
                     std::to_string(kRegexMaxInstructions) +
                     " steps (each character counts once, a group once per repetition)";
    return compiled;
  }
  for (const RegexInstruction& instruction : program->instructions) {
    if (instruction.op == Op::kAssert &&
        (instruction.assertion == RegexAssertion::kWordBoundary ||
         instruction.assertion == RegexAssertion::kNotWordBoundary)) {
      program->usesWordBoundaries = true;
    }
  }
  program->anchoredAtStart = AnchoredAtStart(tree);
  program->literal = PlainText(tree);
  program->sets = std::move(parsed.tree->sets);
  MakeClasses(*program);
  compiled.program = std::move(program);
  return compiled;
}

}  // namespace velorin
