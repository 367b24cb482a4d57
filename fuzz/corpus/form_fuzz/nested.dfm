inherited Root: TComponent
  object A: TComponent
    object B: TComponent
      inline C: TComponent
      end
    end
  end
end
