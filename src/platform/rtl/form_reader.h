// Loading a component tree from form text (see form_parser.h for the format).
//
// Order of loading, as the component model documents it:
//  1. each object, in the order of the text: constructed through the class
//     registry, named, inserted into its owner, told its parent
//     (SetParentComponent), BeginLoading(), then its properties set;
//  2. once every object exists: component references (by name, among the
//     root's components; "Root.Name" and "Other.Name" for a component that
//     Other owns) and event handlers (by name, root->MethodAddress) are
//     resolved in the order in which they appear;
//  3. Loaded() on every object in creation order (the root first).
//
// Ownership. Every object of the text is owned by the root, however deeply
// it is nested, as in the forms of the component library; the nesting is
// recorded as the parent component (the root for the objects directly in
// it). An "inherited" object names an existing component of the root (or
// the root itself) whose properties the text sets; "object" and "inline"
// create new ones.
//
// Failure. Every fault is an EFormError with the file, line, column and
// reason; an exception that an object raises while it is built (constructor,
// setter) becomes one at the object's or value's place, with the object's
// message as reason. An exception of Loaded() passes on as the object raised
// it: it comes from the object's own start-up (the install component reads
// the command line there), not from a place in the text. Nothing half-built survives a failure: every component
// that the load added to the root is freed (last first), and the existing
// objects whose properties the text sets (the passed-in root, "inherited"
// objects) get their published values back (PropertySnapshot) and lose the
// loading flags. Side effects of objects' own code beyond their owner's
// component list and their published properties are theirs to undo (a
// Loaded() that ran before a later one failed has run).
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/component.h"
#include "platform/rtl/form_error.h"

namespace wenmoor {

// Creates the text's root object (a registered, creatable component class)
// and everything in it. The result is unowned: the caller owns it (or
// inserts it into an owner). Raises EFormError; nothing is left behind.
ComponentPtr<> ReadComponentFromText(std::string_view text, const std::string& file_name);

// Loads `text` into the existing `root`, as a form loads its own stored
// description: the text's root object must be of root's class (the same
// class name, or a registered class that root's class derives from). Its
// name, when given, becomes root's name; its properties are set on root and
// its objects become root's components. Raises EFormError and then leaves
// root as it was (see above).
void ReadRootComponentFromText(std::string_view text, const std::string& file_name, TComponent& root);

}  // namespace wenmoor
